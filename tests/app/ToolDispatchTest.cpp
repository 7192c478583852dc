// The mouse on an image window reaches the selected tool through the view,
// and only what the tool changed is repainted.
#include "app/MainWindowFixture.h"
#include "app/StatusBar.h"
#include "app/ToolBarRows.h"
#include "document/DocumentView.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QRegion>

#include <set>

namespace px::test {
namespace {

// Collects the areas a widget is asked to paint.
class PaintRecorder : public QObject {
public:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            painted += static_cast<QPaintEvent*>(event)->region();
        return false;
    }
    QRegion painted;
};

void sendMouse(QWidget* w, QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held)
{
    QMouseEvent event(type, QPointF(at), QPointF(w->mapToGlobal(at)), button, held, Qt::NoModifier);
    QApplication::sendEvent(w, &event);
}

using ToolDispatchTest = MainWindowFixture;

TEST_F(ToolDispatchTest, PencilDragChangesItsPixelsAndRepaintsOnlyThem)
{
    MainWindow& w = create();
    show();
    ImageWindow* image = open(uniformBitmap(12, 8, kWhite));
    trigger("Crayonbut");
    ASSERT_EQ(session.currentTool, 2);
    session.mainColour = makeColour(255, 0, 0);
    QWidget* view = image->view();
    PaintRecorder recorder;
    QCoreApplication::processEvents();
    view->installEventFilter(&recorder);

    sendMouse(view, QEvent::MouseButtonPress, {2, 3}, Qt::LeftButton, Qt::LeftButton);
    sendMouse(view, QEvent::MouseMove, {6, 3}, Qt::NoButton, Qt::LeftButton);
    sendMouse(view, QEvent::MouseButtonRelease, {6, 3}, Qt::LeftButton, Qt::NoButton);
    QCoreApplication::processEvents();

    EXPECT_EQ(toAscii(image->document(), {{'r', makeColour(255, 0, 0)}}), "............\n"
                                                                          "............\n"
                                                                          "............\n"
                                                                          "..rrrr......\n"
                                                                          "............\n"
                                                                          "............\n"
                                                                          "............\n"
                                                                          "............\n");
    EXPECT_EQ(recorder.painted, QRegion(2, 3, 4, 1)) << "the press pixel and the line, nothing else";
    EXPECT_EQ(undoSteps(), 1);
    EXPECT_TRUE(enabled("Annuler1"));
    EXPECT_TRUE(enabled("Annulerbut"));
    EXPECT_EQ(w.statusPanels()->panelText(3), "Position : (6, 3)");
}

TEST_F(ToolDispatchTest, AnIdWithoutAToolLeavesTheDocumentAlone)
{
    create();
    ImageWindow* image = open(uniformBitmap(6, 4, kWhite));
    session.currentTool = 1;
    const ToolEvent press{1, 1, ToolEvent::Left, ToolEvent::Left};
    EXPECT_TRUE(image->toolPress(press).isEmpty());
    EXPECT_EQ(image->document(), uniformBitmap(6, 4, kWhite));
    EXPECT_EQ(undoSteps(), 0);
}

// Every tool the program has is reachable from a palette button; the ids
// without a button (1, above 18) have none.
TEST(ToolRegistry, EveryToolHasAPaletteButton)
{
    const ToolRegistry registry;
    std::set<int> buttons;
    for (const DrawingToolRow& row : drawingToolRows())
        buttons.insert(row.id);
    int tools = 0;
    for (int id = -1; id <= 40; ++id)
        if (registry.find(id)) {
            ++tools;
            EXPECT_TRUE(buttons.count(id)) << id;
        }
    EXPECT_GE(tools, 1);
    EXPECT_NE(registry.find(kCrayonTool), nullptr);
}

} // namespace
} // namespace px::test
