// A drag source for the X11 tests: a small window that starts a drag of the
// files named on its command line as soon as the mouse is pressed on it and
// moved, as a file manager would. It prints "ready" once shown.
//     drag_source X Y FILE...
#include <QApplication>
#include <QDrag>
#include <QLabel>
#include <QMimeData>
#include <QMouseEvent>
#include <QUrl>

#include <cstdio>

namespace {

class Source : public QLabel {
public:
    explicit Source(QList<QUrl> urls) : QLabel(QStringLiteral("fichiers")), urls_(std::move(urls)) {}

protected:
    void mousePressEvent(QMouseEvent* event) override { pressedAt_ = event->position().toPoint(); }
    void mouseMoveEvent(QMouseEvent* event) override
    {
        if (!(event->buttons() & Qt::LeftButton) ||
            (event->position().toPoint() - pressedAt_).manhattanLength() < QApplication::startDragDistance())
            return;
        auto* drag = new QDrag(this);
        auto* data = new QMimeData;
        data->setUrls(urls_);
        drag->setMimeData(data);
        drag->exec(Qt::CopyAction);
    }

private:
    QList<QUrl> urls_;
    QPoint pressedAt_;
};

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc < 4)
        return 2;
    QList<QUrl> urls;
    for (int i = 3; i < argc; ++i)
        urls << QUrl::fromLocalFile(QString::fromLocal8Bit(argv[i]));
    Source source(urls);
    source.setWindowFlag(Qt::WindowStaysOnTopHint);
    source.setGeometry(std::atoi(argv[1]), std::atoi(argv[2]), 160, 100);
    source.show();
    std::printf("ready\n");
    std::fflush(stdout);
    return app.exec();
}
