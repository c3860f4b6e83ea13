// The shader source rule: one file without a version line serves both shader set-ups.

#include "cinderhall/cdh_shader_source.h"

#include "support/error_capture.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

namespace {

using namespace Cinderhall;

TEST(ShaderSource, PreludeNamesTheVersionAndDifferingWordsOfEachSetUp)
{
    const std::string body = "void main() {}\n";
    const std::string desktopVertex = ComposeShaderSource(body, ShaderStage::kVertex, false);
    const std::string embeddedFragment = ComposeShaderSource(body, ShaderStage::kFragment, true);
    EXPECT_EQ(desktopVertex.rfind("#version 150\n", 0), 0u);
    EXPECT_NE(desktopVertex.find("#define VERTEX_INPUT in\n"), std::string::npos);
    EXPECT_EQ(embeddedFragment.rfind("#version 100\n", 0), 0u);
    EXPECT_NE(embeddedFragment.find("#define FRAGMENT_COLOR gl_FragColor\n"), std::string::npos);
    EXPECT_NE(embeddedFragment.find("precision mediump float;"), std::string::npos);
    // The prelude's lines are not counted: the author's first line is line 1 in compiler logs.
    EXPECT_TRUE(desktopVertex.ends_with("\n#line 0\n" + body));
    EXPECT_TRUE(embeddedFragment.ends_with("\n#line 1\n" + body));
}

TEST(ShaderSource, AFileWithItsOwnVersionLineIsLeftAsWritten)
{
    const std::string withVersion = "// lit\n  #version 330 core\nvoid main() {}\n";
    EXPECT_EQ(ComposeShaderSource(withVersion, ShaderStage::kVertex, true), withVersion);
    EXPECT_FALSE(HasVersionLine("// no #version here\nvoid main() {}"));
}

TEST(ShaderSource, ReadingReportsEveryByteAbove127AndKeepsIt)
{
    const std::filesystem::path path = std::filesystem::temp_directory_path() / "cdh_shader_source_test.vert";
    {
        std::ofstream file(path, std::ios::binary);
        file << "// caf\xC3\xA9\nvoid main() {}\n";
    }
    QuorvaneTest::ErrorCapture errors;
    const std::string text = ReadShaderSource(path.string());
    std::filesystem::remove(path);
    EXPECT_EQ(text.size(), 24u);
    ASSERT_EQ(errors.messages.size(), 2u);
    EXPECT_EQ(errors.Last(), "Error: What follows is an unsafe casting! File: \"" + path.string() + "\"");
}

TEST(ShaderSource, AFileThatCannotBeReadIsReportedByNameAndReadsAsEmptyText)
{
    for (const std::string path : {"no/such/shader.vert", QUORVANE_SOURCE_DIR "/data/shaders"}) {
        QuorvaneTest::ErrorCapture errors;
        EXPECT_TRUE(ReadShaderSource(path).empty());
        ASSERT_EQ(errors.messages.size(), 1u);
        EXPECT_NE(errors.Last().find("File: \"" + path + "\""), std::string::npos) << errors.Last();
    }
}

} // namespace
