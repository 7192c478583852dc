#pragma once
// TForm10, "A propos...": the program's name, its version, the author credit
// and a link to the web site.
#include <QDialog>
#include <QString>

#include <string_view>

class QLabel;

namespace px {

struct Session;

// The credit is kept in the program in scrambled form: its text is the first
// five characters of the stored string, each character code lowered by 20.
QString decodeCredit(std::string_view stored);

class AboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit AboutDialog(Session& session, QWidget* parent = nullptr);

    QString credit() const;
    // Label5: blue while the mouse is over it, red otherwise.
    bool linkHighlighted() const { return highlighted_; }
    // A click on Label5: the web site, as "&Site Pixoran3" opens it.
    void openWebSite();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void setLinkHighlighted(bool on);

    Session& session_;
    QLabel* credit_ = nullptr;
    QLabel* link_ = nullptr;
    bool highlighted_ = false;
};

} // namespace px
