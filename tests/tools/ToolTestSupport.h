#pragma once
// Drives a tool without any widget: a document bitmap with its canvas, the
// window's tool state, options, an in-memory clipboard, a scripted prompter
// and a host that records what the tool asked of the program.
#include "graphics/Random.h"
#include "platform/MemoryClipboard.h"
#include "platform/ScriptedPrompter.h"
#include "support/TestSupport.h"
#include "tools/Tool.h"
#include "tools/ToolOptions.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace px::test {

class RecordingToolHost : public ToolHost {
public:
    explicit RecordingToolHost(const Bitmap& document) : document_(document) {}

    void saveUndoState() override { snapshots.push_back(document_); }
    void showMessage(const std::string& text) override { messages.push_back(text); }
    void showColourReadOut(Colour colour) override { readOuts.push_back(colour); }
    void setMainColour(Colour colour) override { mainColour = colour; }
    void setBackgroundColour(Colour colour) override { backgroundColour = colour; }

    std::vector<Bitmap> snapshots; // the document at each saveUndoState
    std::vector<std::string> messages;
    std::vector<Colour> readOuts;
    std::optional<Colour> mainColour;
    std::optional<Colour> backgroundColour;

private:
    const Bitmap& document_;
};

inline constexpr Colour kRed = makeColour(255, 0, 0);
inline constexpr Colour kBlue = makeColour(0, 0, 255);
inline constexpr Colour kCyan = makeColour(0, 255, 255);
inline constexpr Colour kYellow = makeColour(255, 255, 0);
inline constexpr Colour kGreen = makeColour(0, 255, 0);

// 'r' red, 'b' blue, 'c' cyan, 'y' yellow, 'g' green besides '.' white and
// '#' black; '?' any other colour.
inline std::string picture(const Bitmap& bitmap)
{
    return toAscii(bitmap, {{'r', kRed}, {'b', kBlue}, {'c', kCyan}, {'y', kYellow}, {'g', kGreen}});
}
inline Bitmap pictureOf(std::initializer_list<const char*> rows)
{
    return fromAscii(rows, {{'r', kRed}, {'b', kBlue}, {'c', kCyan}, {'y', kYellow}, {'g', kGreen}});
}

class ToolTest : public ::testing::Test {
protected:
    static ToolEvent press(int x, int y, ToolEvent::Button button = ToolEvent::Left)
    {
        return ToolEvent{x, y, button, unsigned(button)};
    }
    static ToolEvent move(int x, int y, unsigned buttons = ToolEvent::Left)
    {
        return ToolEvent{x, y, ToolEvent::NoButton, buttons};
    }
    static ToolEvent release(int x, int y, ToolEvent::Button button = ToolEvent::Left)
    {
        return ToolEvent{x, y, button, ToolEvent::NoButton};
    }

    // A press, moves through `path` and a release at its last point, with
    // one button held throughout.
    void drag(Tool& tool, std::initializer_list<Point> path, ToolEvent::Button button = ToolEvent::Left)
    {
        auto it = path.begin();
        tool.press(press(it->x, it->y, button), context());
        Point last = *it;
        for (++it; it != path.end(); ++it) {
            tool.move(move(it->x, it->y, button), context());
            last = *it;
        }
        tool.release(release(last.x, last.y, button), context());
    }

    ToolContext context()
    {
        return ToolContext{document, canvas,    state,    mainColour, backgroundColour,
                           options,  clipboard, prompter, random,     host};
    }

    // Red main colour, blue background colour, on a white document.
    Bitmap document = fromAscii({"........", "........", "........", "........", "........", "........"});
    Canvas canvas{document};
    ToolState state;
    Colour mainColour = kRed;
    Colour backgroundColour = kBlue;
    ToolOptions options;
    MemoryClipboard clipboard;
    ScriptedPrompter prompter;
    RandomGenerator random;
    RecordingToolHost host{document};
};

} // namespace px::test
