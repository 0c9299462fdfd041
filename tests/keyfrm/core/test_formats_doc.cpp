// docs/FORMATS.md carries the class reference generated from the field tables; this test
// fails when a table changes and the document was not regenerated (kfx formats).
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "KfxFormatDoc.h"

TEST(FormatsDocument, ClassReferenceMatchesTheFieldTables) {
    std::ifstream in(std::string(KIVFX_SOURCE_DIR) + "/docs/FORMATS.md");
    ASSERT_TRUE(in) << "docs/FORMATS.md is missing";
    std::stringstream text;
    text << in.rdbuf();
    const std::string doc = text.str();
    const std::string begin = "<!-- generated: kfx formats -->\n";
    const std::string end = "<!-- end of generated part -->";
    const auto a = doc.find(begin);
    const auto b = doc.find(end);
    ASSERT_NE(a, std::string::npos);
    ASSERT_NE(b, std::string::npos);
    EXPECT_EQ(doc.substr(a + begin.size(), b - a - begin.size()), KfxDescribeAllFormats())
        << "regenerate the class reference with: kfx formats";
}
