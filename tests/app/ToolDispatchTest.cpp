// The mouse on an image window reaches the selected tool through the view,
// and only what the tool changed is repainted.
#include "app/MainWindowFixture.h"
#include "app/StatusBar.h"
#include "app/ToolBarRows.h"
#include "document/DocumentView.h"

#include <QApplication>
#include <QEventLoop>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QRegion>
#include <QTimer>

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

// A rubber band over a large picture repaints its outlines, not the area
// they enclose.
TEST_F(ToolDispatchTest, RectangleDragRepaintsOnlyTheOutlines)
{
    create();
    show();
    ImageWindow* image = open(uniformBitmap(400, 300, kWhite));
    trigger("Rectanglebut");
    QWidget* view = image->view();
    PaintRecorder recorder;
    QCoreApplication::processEvents();
    view->installEventFilter(&recorder);

    sendMouse(view, QEvent::MouseButtonPress, {10, 10}, Qt::LeftButton, Qt::LeftButton);
    sendMouse(view, QEvent::MouseMove, {200, 150}, Qt::NoButton, Qt::LeftButton);
    sendMouse(view, QEvent::MouseMove, {300, 200}, Qt::NoButton, Qt::LeftButton);
    sendMouse(view, QEvent::MouseButtonRelease, {300, 200}, Qt::LeftButton, Qt::NoButton);
    QCoreApplication::processEvents();

    EXPECT_EQ(image->document().pixel(10, 10), kBlack);
    EXPECT_EQ(image->document().pixel(299, 199), kBlack);
    EXPECT_EQ(image->document().pixel(150, 100), kWhite);
    EXPECT_EQ(image->document().pixel(199, 149), kWhite) << "the first band was erased";
    EXPECT_EQ(recorder.painted.boundingRect(), QRect(10, 10, 290, 190));
    qint64 area = 0;
    for (const QRect& r : recorder.painted)
        area += qint64(r.width()) * r.height();
    EXPECT_LT(area, 290 * 190 / 10) << "thin bands, not the enclosed area";
    EXPECT_TRUE(recorder.painted.contains(QRect(150, 10, 1, 1)));
    EXPECT_TRUE(recorder.painted.contains(QRect(10, 100, 1, 1)));
}

// "&Options d'outils..." has three ways in.
TEST_F(ToolDispatchTest, ToolOptionsOpenFromMenuPopupAndButton)
{
    create();
    open(uniformBitmap(4, 4, kWhite));
    for (const char* name : {"Optionsdoutils1", "Optionsdoutils2", "Optioutilsbut"})
        trigger(name);
    EXPECT_EQ(shownDialogs, (std::vector<std::string>{"TForm22", "TForm22", "TForm22"}));
}

// "Texte" opens the text window and selects the tool only on OK; otherwise
// the palette and the status bar show the tool that stays selected.
TEST_F(ToolDispatchTest, TextButtonSelectsTheToolOnlyOnOk)
{
    MainWindow& w = create();
    open(uniformBitmap(4, 4, kWhite));
    trigger("Rectanglebut");
    trigger("Textebut");
    EXPECT_EQ(shownDialogs, std::vector<std::string>{"TForm20"});
    EXPECT_EQ(session.currentTool, 9);
    EXPECT_TRUE(w.action("Rectanglebut")->isChecked());
    EXPECT_FALSE(w.action("Textebut")->isChecked());
    EXPECT_EQ(w.statusPanels()->panelText(2), "Rectangle actif");

    onDialog([](QDialog&) { return int(QDialog::Accepted); });
    trigger("Textebut");
    EXPECT_EQ(session.currentTool, 17);
    EXPECT_TRUE(w.action("Textebut")->isChecked());
    EXPECT_EQ(w.statusPanels()->panelText(2), "Texte actif");
}

// The spray has a timer of its own while it is the selected tool.
TEST_F(ToolDispatchTest, SprayTimerRunsWhileTheSprayIsSelected)
{
    MainWindow& w = create();
    open(uniformBitmap(4, 4, kWhite));
    auto* spray = w.findChild<QTimer*>("SprayTimer");
    ASSERT_NE(spray, nullptr);
    EXPECT_FALSE(spray->isActive());
    trigger("Spraybut");
    EXPECT_TRUE(spray->isActive());
    EXPECT_LE(spray->interval(), 16);
    trigger("Lignebut");
    QEventLoop loop;
    QTimer::singleShot(60, &loop, &QEventLoop::quit);
    loop.exec();
    EXPECT_FALSE(spray->isActive());
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

// Every palette button selects a tool and every tool has its button; the ids
// without a button (1, above 18) have none.
TEST(ToolRegistry, EveryPaletteButtonHasItsToolAndNoOtherIdHasOne)
{
    const ToolRegistry registry;
    std::set<int> buttons;
    for (const DrawingToolRow& row : drawingToolRows())
        buttons.insert(row.id);
    EXPECT_EQ(buttons.size(), 18u);
    for (int id = -1; id <= 40; ++id)
        EXPECT_EQ(registry.find(id) != nullptr, buttons.count(id) == 1) << id;
}

} // namespace
} // namespace px::test
