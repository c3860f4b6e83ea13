// The built-in program's embedded dialect must compile on any ES 2.0 driver (and WebGL 1), where
// a fragment stage may not offer high precision.

#include "marrowgate/graphics/implementation/mgi_renderer_shaders.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

// Line numbers (from 1) of the lines that use `highp` outside an
// `#ifdef GL_FRAGMENT_PRECISION_HIGH` branch, following nested conditionals.
std::vector<int> UnguardedHighPrecisionLines(const std::string& source)
{
    std::vector<bool> isGuardedBranch; // one entry per open conditional
    std::vector<int> unguarded;
    std::istringstream lines(source);
    std::string line;
    for (int number = 1; std::getline(lines, line); ++number) {
        const std::size_t start = line.find_first_not_of(" \t");
        const std::string text = start == std::string::npos ? std::string() : line.substr(start);
        if (text.starts_with("#if")) {
            isGuardedBranch.push_back(text == "#ifdef GL_FRAGMENT_PRECISION_HIGH");
        } else if (text.starts_with("#el") && !isGuardedBranch.empty()) {
            isGuardedBranch.back() = false;
        } else if (text.starts_with("#endif") && !isGuardedBranch.empty()) {
            isGuardedBranch.pop_back();
        } else if (text.find("highp") != std::string::npos) {
            bool isGuarded = false;
            for (bool branch : isGuardedBranch) {
                isGuarded = isGuarded || branch;
            }
            if (!isGuarded) {
                unguarded.push_back(number);
            }
        }
    }
    return unguarded;
}

TEST(EmbeddedShaderSource, FragmentStageAsksForHighPrecisionOnlyWhereTheDriverHasIt)
{
    EXPECT_EQ(UnguardedHighPrecisionLines(mgImplementation::kEmbeddedFragmentShader), std::vector<int>{});
    // The checker itself: a bare declaration is caught, a guarded one is not.
    EXPECT_EQ(UnguardedHighPrecisionLines("void f();\nprecision highp float;\n"), std::vector<int>{2});
    EXPECT_EQ(UnguardedHighPrecisionLines("#ifdef GL_FRAGMENT_PRECISION_HIGH\nprecision highp float;\n"
                                          "#else\nprecision highp float;\n#endif\n"),
              std::vector<int>{4});
}

} // namespace
