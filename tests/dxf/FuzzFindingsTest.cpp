// What the drawing reader's fuzzer found in the tag layer: text in handle codes must be writable, as the
// writer of a drawing keeps such groups from the files it read. (The drawing-level findings are tested
// in tests/dxf/fuzz/, built with the sanitizers in the fuzz build.)
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DxfTestSupport.h"
#include "dxf/TagWriter.h"

using dxftest::readAll;

TEST(DxfFuzzFindings, HandleCodesKeepTextThatIsNoHandle)
{
    // Names where a handle belongs ("Standard"), and text of binary files that holds line breaks.
    struct Case {
        int code;
        std::wstring text;
    };
    const std::vector<Case> cases = {{340, L"Standard"}, {330, L"\n"}, {1005, L"a\r\nb"}, {390, L""}};
    for (const dxf::Version version : {dxf::Version::R2004, dxf::Version::R2018}) {
        dxf::TagWriter writer(version, "ANSI_1252", dxf::LineEnd::Lf);
        for (const Case& c : cases)
            ASSERT_NO_THROW(writer.writeText(c.code, c.text)) << c.code;
        writer.writeString(0, "EOF");
        const std::string written(writer.data());
        dxf::TagReader reader(written);
        const std::vector<dxf::Tag> tags = readAll(reader);
        ASSERT_EQ(cases.size(), tags.size()) << written;
        for (std::size_t i = 0; i < cases.size(); ++i) {
            EXPECT_EQ(cases[i].code, tags[i].code);
            EXPECT_EQ(cases[i].text, tags[i].asText()) << cases[i].code;
        }
    }
}

TEST(DxfFuzzFindings, TextIsStillRefusedWhereANumberBelongs)
{
    dxf::TagWriter writer;
    for (const int code : {10, 40, 62, 70, 90, 160, 290, 310, 1040, 1070})
        EXPECT_THROW(writer.writeText(code, L"Standard"), std::invalid_argument) << code;
}
