// The drawings of picture buttons and pictures: simple vector art painted to fit the control.
#include "runtime/rt_widgets.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace rt::detail {

namespace {

QColor Grey(const QColor& c, bool enabled) {
    if (enabled) return c;
    int v = qGray(c.rgb());
    return QColor(v / 2 + 100, v / 2 + 100, v / 2 + 100);
}

// Fits a caption into a box by shrinking the font.
void DrawFittedText(QPainter& p, const QRectF& box, const QString& text, const QColor& colour, bool bold) {
    if (text.isEmpty() || box.width() < 4 || box.height() < 4) return;
    QFont f = p.font();
    f.setBold(bold);
    int px = std::max(7, static_cast<int>(std::min(box.height() * 0.6, 15.0)));
    for (; px > 7; --px) {
        f.setPixelSize(px);
        QFontMetricsF fm(f);
        if (fm.horizontalAdvance(text) <= box.width() - 2 && fm.height() <= box.height()) break;
    }
    f.setPixelSize(px);
    p.setFont(f);
    p.setPen(colour);
    p.drawText(box, Qt::AlignCenter | Qt::TextWordWrap, text);
}

// A codec chip seen from above: dark body, pins on both long sides, a notch and the caption.
void DrawChip(QPainter& p, const QRectF& r, const QString& caption, bool enabled, bool down, bool hover) {
    QRectF face = r.adjusted(1, 1, -1, -1);
    QColor bg = hover ? QColor(0xE8, 0xF0, 0xFA) : QColor(0xF4, 0xF4, 0xF4);
    if (down) bg = QColor(0xD0, 0xDC, 0xEA);
    p.setPen(QPen(Grey(QColor(0x9A, 0xA4, 0xB0), enabled), 1));
    p.setBrush(Grey(bg, enabled));
    p.drawRoundedRect(face, 5, 5);

    double w = face.width() * 0.70, h = face.height() * 0.74;
    QRectF body(face.center().x() - w / 2, face.center().y() - h / 2, w, h);
    if (down) body.translate(1, 1);
    int pins = std::clamp(static_cast<int>(h / 7), 2, 8);
    double pinLen = std::max(3.0, face.width() * 0.07), pinThick = std::max(2.0, h / (pins * 2.2));
    p.setPen(Qt::NoPen);
    p.setBrush(Grey(QColor(0xB8, 0xBC, 0xC0), enabled));
    for (int i = 0; i < pins; ++i) {
        double y = body.top() + h * (i + 0.5) / pins - pinThick / 2;
        p.drawRect(QRectF(body.left() - pinLen, y, pinLen, pinThick));
        p.drawRect(QRectF(body.right(), y, pinLen, pinThick));
    }
    p.setBrush(Grey(QColor(0x2E, 0x34, 0x3B), enabled));
    p.setPen(QPen(Grey(QColor(0x15, 0x18, 0x1C), enabled), 1));
    p.drawRoundedRect(body, 3, 3);
    double notch = std::min(w, h) * 0.18;
    p.setBrush(Grey(QColor(0x4A, 0x52, 0x5A), enabled));
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(body.left() + notch * 1.2, body.top() + notch * 1.2), notch / 2, notch / 2);
    DrawFittedText(p, body.adjusted(3, notch, -3, -2), caption, enabled ? Qt::white : QColor(0xDD, 0xDD, 0xDD), true);
}

QPolygonF Speaker(const QRectF& r) {
    double x = r.left(), y = r.top(), w = r.width(), h = r.height();
    return QPolygonF({QPointF(x + w * 0.10, y + h * 0.36), QPointF(x + w * 0.30, y + h * 0.36),
                      QPointF(x + w * 0.55, y + h * 0.12), QPointF(x + w * 0.55, y + h * 0.88),
                      QPointF(x + w * 0.30, y + h * 0.64), QPointF(x + w * 0.10, y + h * 0.64)});
}

QRectF Square(const QRect& r) {
    double s = std::min(r.width(), r.height()) - 2;
    return QRectF(r.center().x() - s / 2 + 0.5, r.center().y() - s / 2 + 0.5, s, s);
}

}  // namespace

void PaintArtwork(QPainter& p, const QRect& rect, const QString& name, const QString& caption,
                  bool enabled, bool down, bool hover) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    QRectF sq = Square(rect);
    double lw = std::max(1.0, sq.width() / 14);
    if (name.startsWith("chip:") || (name.isEmpty() && !caption.isEmpty())) {
        QString text = name.startsWith("chip:") ? name.mid(5) : caption;
        if (name.isEmpty()) {
            // A plain picture button: its caption on a button face.
            QRectF face = QRectF(rect).adjusted(1, 1, -1, -1);
            p.setPen(QPen(Grey(QColor(0x9A, 0xA4, 0xB0), enabled), 1));
            p.setBrush(Grey(down ? QColor(0xD0, 0xDC, 0xEA) : hover ? QColor(0xE8, 0xF0, 0xFA) : QColor(0xF4, 0xF4, 0xF4), enabled));
            p.drawRoundedRect(face, 5, 5);
            DrawFittedText(p, face.adjusted(3, 2, -3, -2), text, Grey(Qt::black, enabled), false);
        } else {
            DrawChip(p, QRectF(rect), text, enabled, down, hover);
        }
    } else if (name == "speaker" || name == "mute") {
        if (down) sq.translate(1, 1);
        p.setPen(QPen(Grey(QColor(0x30, 0x30, 0x30), enabled), lw, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Grey(QColor(0x50, 0x5A, 0x64), enabled));
        p.drawPolygon(Speaker(sq));
        if (name == "speaker") {
            p.setBrush(Qt::NoBrush);
            p.setPen(QPen(Grey(QColor(0x1E, 0x7A, 0x3C), enabled), lw, Qt::SolidLine, Qt::RoundCap));
            for (int i = 1; i <= 2; ++i) {
                double rad = sq.width() * (0.12 + 0.14 * i);
                QRectF arc(sq.left() + sq.width() * 0.55 - rad, sq.center().y() - rad, rad * 2, rad * 2);
                p.drawArc(arc, -40 * 16, 80 * 16);
            }
        } else {
            p.setPen(QPen(Grey(QColor(0xD0, 0x20, 0x20), enabled), lw * 1.3, Qt::SolidLine, Qt::RoundCap));
            double x0 = sq.left() + sq.width() * 0.66, x1 = sq.left() + sq.width() * 0.92;
            double y0 = sq.top() + sq.height() * 0.34, y1 = sq.top() + sq.height() * 0.66;
            p.drawLine(QPointF(x0, y0), QPointF(x1, y1));
            p.drawLine(QPointF(x0, y1), QPointF(x1, y0));
        }
    } else if (name == "boost" || name == "boost_off") {
        bool on = name == "boost";
        QColor fill = on ? QColor(0x2E, 0x9E, 0x4F) : QColor(0xB4, 0xB4, 0xB4);
        QPolygonF tri({QPointF(sq.left() + sq.width() * 0.12, sq.top() + sq.height() * 0.10),
                       QPointF(sq.right() - sq.width() * 0.08, sq.center().y()),
                       QPointF(sq.left() + sq.width() * 0.12, sq.bottom() - sq.height() * 0.10)});
        p.setPen(QPen(Grey(fill.darker(150), enabled), lw, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Grey(fill, enabled));
        p.drawPolygon(tri);
        p.setPen(QPen(Grey(Qt::white, enabled), lw * 1.2, Qt::SolidLine, Qt::RoundCap));
        QPointF c(sq.left() + sq.width() * 0.38, sq.center().y());
        double a = sq.width() * 0.12;
        p.drawLine(c - QPointF(a, 0), c + QPointF(a, 0));
        p.drawLine(c - QPointF(0, a), c + QPointF(0, a));
    } else if (name == "disabled") {
        QRectF disc = sq.adjusted(lw, lw, -lw, -lw);
        p.setPen(QPen(Grey(QColor(0x90, 0x10, 0x10), enabled), 1));
        p.setBrush(Grey(QColor(0xD8, 0x2A, 0x2A), enabled));
        p.drawEllipse(disc);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        double bh = disc.height() * 0.2;
        p.drawRoundedRect(QRectF(disc.left() + disc.width() * 0.2, disc.center().y() - bh / 2, disc.width() * 0.6, bh), bh / 3, bh / 3);
    } else if (name.startsWith("text:")) {
        QRectF box = QRectF(rect).adjusted(1, 1, -1, -1);
        if (down) box.translate(1, 1);
        p.setPen(QPen(Grey(QColor(0x5A, 0x6A, 0x7A), enabled), 1));
        p.setBrush(Grey(QColor(0xFF, 0xF8, 0xDC), enabled));
        p.drawRoundedRect(box, 4, 4);
        DrawFittedText(p, box.adjusted(2, 1, -2, -1), name.mid(5), Grey(Qt::black, enabled), false);
    } else {
        // A name we do not know: an empty frame, so the control is still seen and clickable.
        p.setPen(QPen(QColor(0xA0, 0xA0, 0xA0), 1, Qt::DashLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(rect).adjusted(0.5, 0.5, -0.5, -0.5));
        if (!caption.isEmpty()) DrawFittedText(p, QRectF(rect).adjusted(2, 2, -2, -2), caption, Grey(Qt::black, enabled), false);
    }
    p.restore();
}

}  // namespace rt::detail
