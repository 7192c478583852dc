#include "platform/qt/QtGlyphRasteriser.h"

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QString>

#include <algorithm>
#include <cstdlib>

namespace px {

QFont QtGlyphRasteriser::toQFont(const FontSpec& font)
{
    QFont f(QString::fromStdString(font.family));
    // Points at 96 pixels per inch, rounded; at least one pixel.
    const int pixels = std::max(1, (std::abs(font.pointSize) * 96 + 36) / 72);
    f.setPixelSize(pixels);
    f.setBold(font.bold);
    f.setItalic(font.italic);
    f.setUnderline(font.underline);
    f.setStrikeOut(font.strikeOut);
    return f;
}

void QtGlyphRasteriser::measure(const FontSpec& font, std::string_view utf8, int& width, int& height, int& ascent) const
{
    const QFontMetrics fm(toQFont(font));
    const QString text = QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
    width = std::max(0, fm.horizontalAdvance(text));
    height = std::max(1, fm.height());
    ascent = fm.ascent();
}

GlyphMask QtGlyphRasteriser::render(const FontSpec& font, std::string_view utf8) const
{
    GlyphMask mask;
    measure(font, utf8, mask.width, mask.height, mask.ascent);
    if (mask.width <= 0 || mask.height <= 0)
        return mask;
    const QString text = QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
    QImage image(mask.width, mask.height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setFont(toQFont(font));
        painter.setPen(Qt::white);
        painter.drawText(0, mask.ascent, text);
    }
    mask.coverage.resize(std::size_t(mask.width) * std::size_t(mask.height));
    for (int y = 0; y < mask.height; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < mask.width; ++x)
            mask.coverage[std::size_t(y) * std::size_t(mask.width) + std::size_t(x)] = std::uint8_t(qAlpha(line[x]));
    }
    return mask;
}

} // namespace px
