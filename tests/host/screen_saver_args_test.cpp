// The screen-saver command line: run, preview with a decimal handle, silent
// exit for a handle that is no window, the help box for everything else.
#include <cstring>
#include <string>
#include <vector>

#include "host/host_main.h"
#include "host_test_support.h"

namespace lumivortex::testing {
namespace {

namespace headless = platform::headless;

class ScreenSaverArgsTest : public HostTest {
protected:
    int parse(std::vector<const char*> args) {
        args.insert(args.begin(), "lumivortex");
        return parseScreenSaverArgs(static_cast<int>(args.size()), args.data());
    }
};

TEST_F(ScreenSaverArgsTest, RunPreviewOrEndSilently) {
    const struct {
        std::vector<const char*> args;
        int end;
        int preview;
        std::uintptr_t parent;
    } cases[] = {
        {{}, 0, 0, 0},
        {{"/s"}, 0, 0, 0},
        {{"/S"}, 0, 0, 0},
        {{"/s", "extra", "more"}, 0, 0, 0},
        {{"/p", "123"}, 0, 1, 123},
        {{"/P", "4194305"}, 0, 1, 4194305},
        {{"/p", "+77"}, 0, 1, 77},
        {{"/p", "12abc"}, 0, 1, 12},          // digits up to the first non-digit
        {{"/p", "2147483647"}, 0, 1, 2147483647},
        {{"/p", "-1"}, 0, 1, 0xFFFFFFFFu},    // the 32-bit pattern of the handle
        {{"/p", "0"}, 1, 0, 0},
        {{"/p", "abc"}, 1, 0, 0},             // no digits: 0
        {{"/p", ""}, 1, 0, 0},
        {{"/p", "-"}, 1, 0, 0},
        {{"/p", " 12"}, 1, 0, 0},
        {{"/p", "-0"}, 1, 0, 0},
        {{"/p", "2147483648"}, 1, 0, 0},      // does not fit: no window
        {{"/p", "99999999999999999999999"}, 1, 0, 0},
        {{"/p", "-2147483649"}, 1, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.empty() ? std::string("(none)") : std::string(c.args[0]) + " " +
                                                                   (c.args.size() > 1 ? c.args[1] : ""));
        previewMode = 7;
        previewParent = 5;
        EXPECT_EQ(parse(c.args), c.end);
        EXPECT_EQ(previewMode, c.preview);
        if (c.preview || c.end) {
            EXPECT_EQ(previewParent, c.parent);
        }
        EXPECT_TRUE(headless::messageBoxes().empty());
    }
}

TEST_F(ScreenSaverArgsTest, AnythingElseShowsTheHelpBox) {
    const std::vector<std::vector<const char*>> cases = {
        {"/c"}, {"/C:1234"}, {"/p"}, {"/p", "1", "2"}, {"/x"}, {"s"}, {"/ss"}, {""}, {"/c", "/s"},
    };
    for (const auto& args : cases) {
        SCOPED_TRACE(args[0]);
        headless::reset();
        EXPECT_EQ(parse(args), 1);
        auto boxes = headless::messageBoxes();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].caption, "    Lumivortex");
        EXPECT_EQ(boxes[0].text, helpText);
        EXPECT_EQ(boxes[0].owner, platform::BoxOwner::None);
        EXPECT_EQ(boxes[0].icon, platform::BoxIcon::None);
        EXPECT_EQ(previewMode, 0);
    }
}

TEST_F(ScreenSaverArgsTest, HelpTextIsElevenLines) {
    const std::vector<std::string> lines = {
        "",
        "Exit - key Esc",
        "",
        "Other controls look at the left-down corner after Run.",
        "",
        "",
        "Выход - клавиша Esc",
        "",
        "Прочие управления смотрите в левом-нижнем углу   ",
        "после Запуска.",
        " ",
    };
    std::string expected;
    for (std::size_t i = 0; i < lines.size(); ++i) expected += (i ? "\n" : "") + lines[i];
    EXPECT_EQ(std::string(helpText), expected);
    EXPECT_EQ(std::string(helpCaption), "    Lumivortex");
}

}  // namespace
}  // namespace lumivortex::testing
