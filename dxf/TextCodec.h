// Text of a DXF file to and from wide text: the drawing's code page or UTF-8, and the \U+ escapes.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace dxf {

// Decodes and encodes the strings of one drawing. Which encoding applies follows the drawing's header:
// from $ACADVER AC1021 (R2007) on, strings are UTF-8 whatever $DWGCODEPAGE says; before, they are in the
// $DWGCODEPAGE code page, ANSI_1252 when absent. In both, "\U+XXXX" stands for the Unicode character
// XXXX (a pair of them for a surrogate pair), and "\M+NXXXX" for the double-byte character XXXX of the
// East Asian code page N (1 ANSI_932, 2 ANSI_950, 3 ANSI_949, 4 ANSI_1361, 5 ANSI_936). A backslash has
// no escape of its own at this level ("\\U+0041" is a backslash and an A): the encoder writes a
// backslash that would start an escape as "\U+005C", so that every text survives a round trip.
//
// Decoding never fails: bytes that are not valid in the encoding become U+FFFD. All-ASCII text takes a
// fast path; the code page tables and the iconv descriptors for multi-byte code pages are built once and
// kept. One codec serves one reader or writer at a time (it caches mutable state); it is not meant to be
// shared between threads.
class TextCodec {
public:
    TextCodec();
    ~TextCodec();
    TextCodec(TextCodec&&) noexcept;
    TextCodec& operator=(TextCodec&&) noexcept;
    TextCodec(const TextCodec&) = delete;
    TextCodec& operator=(const TextCodec&) = delete;

    // Selects the code page by its $DWGCODEPAGE name, in any case, blanks around it ignored: ANSI_874,
    // ANSI_932, ANSI_936, ANSI_949, ANSI_950, ANSI_1250 ... ANSI_1258, ANSI_1361, the DOSnnn pages,
    // MACINTOSH, BIG5, GB2312, KSC5601, JOHAB, ISO8859-n, and UTF-8 from writers that mark it so.
    // Returns false and changes nothing for a name it does not know.
    bool setCodePage(std::string_view name);
    // The canonical name of the current code page ("ANSI_1252").
    std::string_view codePage() const noexcept;
    // Whether a pre-R2007 drawing could hold the character in its code page without an escape.
    bool representable(wchar_t c) const;

    // Takes the drawing's version from its $ACADVER value ("AC1015"). Returns false and changes
    // nothing when the value is not of that form.
    bool setVersion(std::string_view acadVer);
    // The version number (1015 for AC1015); 0 until one is set.
    int version() const noexcept { return version_; }
    // Whether strings are UTF-8: by the version, or by a code page that says so.
    bool utf8() const noexcept;

    // Bytes of the file to text. Never throws except std::bad_alloc.
    std::wstring decode(std::string_view bytes) const;
    // Text to bytes of the file, appended to `out`: line breaks become \U+000A and \U+000D (a value
    // takes one line), a backslash that would start an escape becomes \U+005C, and characters that the
    // code page cannot hold become \U+XXXX escapes. Unpaired surrogates and values beyond U+10FFFF
    // become U+FFFD.
    void encode(std::wstring_view text, std::string& out) const;
    std::string encode(std::wstring_view text) const;

private:
    struct Converters;

    std::size_t page_;
    int version_ = 0;
    std::unique_ptr<Converters> converters_;
};

} // namespace dxf
