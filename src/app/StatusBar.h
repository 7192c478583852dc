#pragma once
// StatusBar1: the main window's status bar with its two display modes.
//
// Simple mode (at start and whenever no image window is open) shows one
// text. Panel mode (while an image window is active) shows four panels:
// 0 the help text or the current hint, 1 the full path of the active
// document, 2 the active drawing tool, 3 the mouse position.
#include <QStatusBar>

#include <array>

class QLabel;

namespace px {

class StatusBar : public QStatusBar {
    Q_OBJECT
public:
    static constexpr int kPanelCount = 4;
    static const QString kHelpText; // "Pour obtenir de l'aide, appuyez sur F1"

    explicit StatusBar(QWidget* parent = nullptr);

    bool panelMode() const { return panelMode_; }
    void setPanelMode(bool panels);

    QString simpleText() const;
    void setSimpleText(const QString& text);

    QString panelText(int index) const;
    void setPanelText(int index, const QString& text);

    // A menu or button hint: the simple text in simple mode, panel 0 in panel
    // mode. An empty hint (the mouse left the item) brings the help text back.
    void showHint(const QString& hint);

private:
    QLabel* simple_ = nullptr;
    std::array<QLabel*, kPanelCount> panels_{};
    bool panelMode_ = false;
};

} // namespace px
