// libFuzzer target: the tag reader on arbitrary bytes, and what it read written back and read again.
#include <bit>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "dxf/TagReader.h"
#include "dxf/TagWriter.h"

namespace {

// Stops the run with a finding: the two readings of one tag differ.
void check(bool same)
{
    if (!same)
        std::abort();
}

bool sameValue(const dxf::Tag& a, const dxf::Tag& b)
{
    if (a.code != b.code || a.type() != b.type())
        return false;
    switch (a.type()) {
    case dxf::ValueType::Double:
        return std::bit_cast<std::uint64_t>(a.asDouble()) == std::bit_cast<std::uint64_t>(b.asDouble());
    case dxf::ValueType::Int16:
    case dxf::ValueType::Int32:
    case dxf::ValueType::Int64:
    case dxf::ValueType::Bool:
        return a.asInt() == b.asInt();
    case dxf::ValueType::Binary:
        return a.asBinary() == b.asBinary();
    case dxf::ValueType::Handle:
        if (a.tryHandle())
            return a.tryHandle() == b.tryHandle();
        return a.asText() == b.asText();
    case dxf::ValueType::String:
        return a.asText() == b.asText();
    }
    return false;
}

// Writes the tags for `version` in the reader's code page, reads them back with the same encoding, and
// checks that every value survived.
void roundTrip(const std::vector<dxf::Tag>& tags, dxf::Version version, const dxf::TextCodec& source)
{
    dxf::TagWriter writer(version, source.codePage(), dxf::LineEnd::Lf);
    std::vector<const dxf::Tag*> written;
    for (const dxf::Tag& tag : tags) {
        try {
            writer.write(tag);
            written.push_back(&tag);
        } catch (const dxf::ReadError&) {
            // A binary chunk of bad hex digits: the caller's to handle, and nothing was written.
        }
    }
    writer.writeString(0, "EOF");
    const std::string copy(writer.data());
    dxf::TagReader reader(copy);
    reader.followHeader(false);
    reader.codec().setVersion(dxf::acadVer(version));
    reader.codec().setCodePage(source.codePage());
    dxf::Tag tag;
    for (const dxf::Tag* original : written) {
        check(reader.next(tag));
        check(sameValue(*original, tag));
    }
    check(!reader.next(tag));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    std::vector<dxf::Tag> tags;
    try {
        dxf::TagReader reader(input);
        dxf::Tag tag;
        while (reader.next(tag)) {
            if (tag.type() == dxf::ValueType::String || tag.type() == dxf::ValueType::Handle
                || !reader.binary()) {
                (void)tag.asText();
                (void)tag.tryHandle();
            }
            tags.push_back(tag);
            if (tags.size() % 7 == 0) { // now and then, as the mapper does
                reader.unget();
                check(reader.next(tag) && sameValue(tag, tags.back()));
            }
        }
        roundTrip(tags, dxf::Version::R2018, reader.codec());
        roundTrip(tags, dxf::Version::R2004, reader.codec());
    } catch (const dxf::ReadError&) {
        // The input is not DXF: that is the expected outcome for most of them.
    }
    return 0;
}
