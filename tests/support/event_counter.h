// Counts the events of one type an object receives, as its event filter:
//     testsupport::EventCounter paints(QEvent::Paint);
//     widget->installEventFilter(&paints);
#pragma once

#include <QEvent>
#include <QObject>

namespace testsupport {

class EventCounter : public QObject {
public:
    explicit EventCounter(QEvent::Type type) : type_(type) {}
    int count = 0;
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == type_) ++count;
        return false;
    }

private:
    QEvent::Type type_;
};

}  // namespace testsupport
