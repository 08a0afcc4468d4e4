// Canvas drawing on retained pixels. Strokes are drawn without antialiasing, so a line lights
// exactly the pixels from its start to its end (both included) and tests can compare pixels.
#include "runtime/rt_internal.h"
#include "runtime/rt_widgets.h"

#include <QPainter>

namespace rt {

using namespace detail;

namespace detail {

QWidget* BuildCanvas(Control& c, int width, int height, QWidget* parent) {
    auto* w = new CanvasWidget(width, height, parent);
    w->setFocusPolicy(Qt::NoFocus);
    (void)c;
    return w;
}

}  // namespace detail

namespace {

CanvasWidget* CanvasOf(int panel, int control, Control** out, int* err) {
    Control* c = FindControl(panel, control, err);
    if (!c) return nullptr;
    auto* w = c->kind == Kind::Canvas && !c->isTab ? dynamic_cast<CanvasWidget*>(c->widget.data()) : nullptr;
    if (!w) {
        *err = UIEInvalidControlType;
        return nullptr;
    }
    *out = c;
    return w;
}

QPen PenOf(const Control& c) {
    QPen pen(ToQColor(c.penColor));
    pen.setWidth(c.penWidth);
    pen.setJoinStyle(Qt::MiterJoin);
    if (c.penStyle == VAL_SOLID) {
        pen.setStyle(Qt::SolidLine);
        pen.setCapStyle(c.penWidth == 1 ? Qt::SquareCap : Qt::FlatCap);
    } else {
        // Dots one pixel on, one off; dashes four on, two off (in pen widths).
        pen.setCapStyle(Qt::FlatCap);
        pen.setDashPattern(c.penStyle == VAL_DOT ? QList<qreal>{1, 1} : QList<qreal>{4, 2});
    }
    return pen;
}

// Runs a drawing on the canvas's pixels and repaints the widget unless a batch is open.
template <typename Fn>
int Draw(int panel, int control, Fn fn) {
    int err = 0;
    Control* c = nullptr;
    CanvasWidget* w = CanvasOf(panel, control, &c, &err);
    if (!w) return err;
    {
        QPainter p(&w->image());
        p.setRenderHint(QPainter::Antialiasing, false);
        fn(p, *c, *w);
    }
    if (c->batch == 0) w->update();
    return 0;
}

QRect ToQRect(const Rect& r) { return QRect(r.left, r.top, r.width, r.height); }

}  // namespace

int CanvasClear(int panel, int control, Rect area) {
    return Draw(panel, control, [&](QPainter& p, Control&, CanvasWidget& w) {
        p.fillRect(area.width == 0 ? w.image().rect() : ToQRect(area), Qt::white);
    });
}

int CanvasDrawPoint(int panel, int control, Point pt) {
    return Draw(panel, control, [&](QPainter& p, Control& c, CanvasWidget&) {
        if (c.penWidth <= 1) {
            p.fillRect(QRect(pt.x, pt.y, 1, 1), ToQColor(c.penColor));
        } else {
            int half = c.penWidth / 2;
            p.fillRect(QRect(pt.x - half, pt.y - half, c.penWidth, c.penWidth), ToQColor(c.penColor));
        }
    });
}

int CanvasDrawLine(int panel, int control, Point from, Point to) {
    return Draw(panel, control, [&](QPainter& p, Control& c, CanvasWidget&) {
        p.setPen(PenOf(c));
        if (from.x == to.x && from.y == to.y) p.drawPoint(from.x, from.y);
        else p.drawLine(from.x, from.y, to.x, to.y);
    });
}

int CanvasDrawRect(int panel, int control, Rect r, int drawMode) {
    if (drawMode < VAL_DRAW_FRAME || drawMode > VAL_DRAW_FRAME_AND_INTERIOR) return UIEBadValue;
    return Draw(panel, control, [&](QPainter& p, Control& c, CanvasWidget&) {
        if (r.width <= 0 || r.height <= 0) return;
        if (drawMode != VAL_DRAW_FRAME) p.fillRect(ToQRect(r), ToQColor(c.fillColor));
        if (drawMode != VAL_DRAW_INTERIOR) {
            QPen pen = PenOf(c);
            pen.setCapStyle(Qt::SquareCap);
            p.setPen(pen);
            p.setBrush(Qt::NoBrush);
            p.drawRect(QRect(r.left, r.top, r.width - 1, r.height - 1));
        }
    });
}

int CanvasDrawOval(int panel, int control, Rect r, int drawMode) {
    if (drawMode < VAL_DRAW_FRAME || drawMode > VAL_DRAW_FRAME_AND_INTERIOR) return UIEBadValue;
    return Draw(panel, control, [&](QPainter& p, Control& c, CanvasWidget&) {
        if (r.width <= 0 || r.height <= 0) return;
        QRect box(r.left, r.top, r.width - 1, r.height - 1);
        p.setPen(drawMode == VAL_DRAW_INTERIOR ? QPen(ToQColor(c.fillColor)) : PenOf(c));
        p.setBrush(drawMode == VAL_DRAW_FRAME ? QBrush(Qt::NoBrush) : QBrush(ToQColor(c.fillColor)));
        p.drawEllipse(box);
    });
}

int CanvasDrawText(int panel, int control, const char* text, Rect r) {
    return Draw(panel, control, [&](QPainter& p, Control& c, CanvasWidget& w) {
        p.setRenderHint(QPainter::TextAntialiasing, true);
        p.setFont(w.font());
        p.setPen(ToQColor(c.penColor));
        p.drawText(ToQRect(r), Qt::AlignCenter | Qt::TextWordWrap, QString::fromUtf8(text ? text : ""));
    });
}

int CanvasStartBatchDraw(int panel, int control) {
    int err = 0;
    Control* c = nullptr;
    if (!CanvasOf(panel, control, &c, &err)) return err;
    ++c->batch;
    return 0;
}

int CanvasEndBatchDraw(int panel, int control) {
    int err = 0;
    Control* c = nullptr;
    CanvasWidget* w = CanvasOf(panel, control, &c, &err);
    if (!w) return err;
    if (c->batch > 0 && --c->batch == 0) w->update();
    return 0;
}

int CanvasGetPixel(int panel, int control, Point pt, int* colour) {
    int err = 0;
    Control* c = nullptr;
    CanvasWidget* w = CanvasOf(panel, control, &c, &err);
    if (!w) return err;
    if (!colour) return UIEBadValue;
    if (!w->image().rect().contains(pt.x, pt.y)) return UIEIndexOutOfRange;
    *colour = static_cast<int>(w->image().pixel(pt.x, pt.y) & 0xFFFFFF);
    return 0;
}

}  // namespace rt
