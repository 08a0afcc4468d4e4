// Text as assistive technology sees it: entries (a string control, a table cell's editor), text
// boxes and numerics, with their text, caret and selection, edited as typing would.
#include "runtime/accessible_internal.h"

#include <QAbstractSpinBox>
#include <QAccessibleWidget>
#include <QDoubleSpinBox>
#include <QFontMetrics>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QTextBoundaryFinder>
#include <QTextCursor>
#include <QTextDocument>
#include <QValidator>

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

namespace rt::detail {

namespace {

// The state of a text the user may edit: its widget's, editable unless read-only, busy while
// user input is held.
static QAccessible::State EditState(QAccessible::State s, bool readOnly) {
    s.editable = !readOnly;
    s.readOnly = readOnly;
    s.busy = UserInputHeld();
    return s;
}

// The piece of `text` that a text request asks for: the character, word, sentence or line at
// `offset` (which = 0), the one before it (-1) or the one after it (1), with its start and end.
// An offset of -1 stands for the end of the text, as the bus means it; any other offset out of
// the text is taken as its nearest end. None is an empty text from -1 to -1. (Qt's own helpers
// loop for ever at the text's end, which the bus asks for as offset -1.)
QString TextPiece(const QString& text, int offset, QAccessible::TextBoundaryType boundary, int which, int* startOffset,
                  int* endOffset) {
    *startOffset = *endOffset = -1;
    const int length = static_cast<int>(text.size());
    const int at = offset == -1 ? length : std::clamp(offset, 0, length);
    if (boundary == QAccessible::NoBoundary) {
        if (which != 0) return {};
        *startOffset = 0;
        *endOffset = length;
        return text;
    }
    // Where the pieces begin and end, 0 and the length included.
    std::vector<int> edges{0};
    if (boundary == QAccessible::LineBoundary || boundary == QAccessible::ParagraphBoundary) {
        for (int i = 0; i < length; ++i)
            if (text.at(i) == QChar::LineFeed) edges.push_back(i + 1);
    } else {
        const auto type = boundary == QAccessible::CharBoundary   ? QTextBoundaryFinder::Grapheme
                          : boundary == QAccessible::WordBoundary ? QTextBoundaryFinder::Word
                                                                  : QTextBoundaryFinder::Sentence;
        QTextBoundaryFinder finder(type, text);
        // Each step moves on by at least one character, and ends at -1 past the text.
        for (qsizetype p = finder.toNextBoundary(); p > 0 && p < length; p = finder.toNextBoundary())
            if (finder.boundaryReasons() & (QTextBoundaryFinder::StartOfItem | QTextBoundaryFinder::EndOfItem))
                edges.push_back(static_cast<int>(p));
    }
    if (edges.back() != length) edges.push_back(length);
    const int pieces = static_cast<int>(edges.size()) - 1;
    if (pieces <= 0) return {};
    // The piece holding `at`; at the very end, the last one (a character has none there).
    int piece = static_cast<int>(std::upper_bound(edges.begin(), edges.end(), at) - edges.begin()) - 1;
    if (piece >= pieces) {
        if (boundary == QAccessible::CharBoundary && which == 0) return {};
        piece = boundary == QAccessible::CharBoundary && which < 0 ? pieces : pieces - 1;
    }
    piece += which;
    if (piece < 0 || piece >= pieces) return {};
    *startOffset = edges[piece];
    *endOffset = edges[piece + 1];
    return text.mid(*startOffset, *endOffset - *startOffset);
}

// The text interface of an entry (a string control, a numeric's entry, a table cell's editor):
// its text, caret and selection; every offset out of the text is taken as its nearest end, or
// answered with nothing. The most characters a QLineEdit holds bounds the offsets tried first,
// so that a range asked up to the largest offset (the bus asks each offset of a range in turn)
// is answered at once.
class EntryText : public QAccessibleTextInterface {
public:
    virtual QLineEdit* Entry() const = 0;

    QString text(int startOffset, int endOffset) const override {
        const QString all = Whole();
        const int end = endOffset < 0 ? static_cast<int>(all.size()) : std::clamp(endOffset, 0, static_cast<int>(all.size()));
        const int start = std::clamp(startOffset, 0, end);
        return all.mid(start, end - start);
    }
    int characterCount() const override { return static_cast<int>(Whole().size()); }
    int cursorPosition() const override {
        QLineEdit* e = Entry();
        return e ? std::clamp(e->cursorPosition(), 0, characterCount()) : 0;
    }
    void setCursorPosition(int position) override {
        if (QLineEdit* e = Entry()) e->setCursorPosition(std::clamp(position, 0, characterCount()));
    }
    int selectionCount() const override { return Entry() && Entry()->hasSelectedText() && Shown() ? 1 : 0; }
    void selection(int index, int* startOffset, int* endOffset) const override {
        *startOffset = *endOffset = 0;
        if (index != 0 || !selectionCount()) return;
        *startOffset = Entry()->selectionStart();
        *endOffset = Entry()->selectionEnd();
    }
    void addSelection(int startOffset, int endOffset) override { setSelection(0, startOffset, endOffset); }
    void removeSelection(int index) override {
        if (index == 0 && Entry()) Entry()->deselect();
    }
    void setSelection(int index, int startOffset, int endOffset) override {
        const int count = characterCount();
        const int start = std::clamp(startOffset, 0, count), end = std::clamp(endOffset, 0, count);
        if (index == 0 && Entry()) Entry()->setSelection(start, end - start);
    }
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundary, int* startOffset, int* endOffset) const override {
        return TextPiece(Whole(), Caret(offset), boundary, -1, startOffset, endOffset);
    }
    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundary, int* startOffset, int* endOffset) const override {
        return TextPiece(Whole(), Caret(offset), boundary, 0, startOffset, endOffset);
    }
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundary, int* startOffset, int* endOffset) const override {
        return TextPiece(Whole(), Caret(offset), boundary, 1, startOffset, endOffset);
    }
    // The box of a character, worked out from the entry's font and alignment.
    QRect characterRect(int offset) const override {
        if (offset < 0 || offset >= kMostCharacters) return {};
        QLineEdit* e = Entry();
        const QString all = Whole();
        if (!e || offset >= all.size()) return {};
        const QFontMetrics fm(e->font());
        const QRect inside = e->contentsRect().adjusted(2, 0, -2, 0);
        const int left = e->alignment() & Qt::AlignRight ? inside.right() - fm.horizontalAdvance(all) : inside.left();
        const QPoint at(left + fm.horizontalAdvance(all.left(offset)), inside.top());
        return {e->mapToGlobal(at), QSize(fm.horizontalAdvance(all.at(offset)), inside.height())};
    }
    int offsetAtPoint(const QPoint& point) const override {
        QLineEdit* e = Entry();
        return e && Shown() ? e->cursorPositionAt(e->mapFromGlobal(point)) : -1;
    }
    void scrollToSubstring(int, int) override {}
    QString attributes(int, int* startOffset, int* endOffset) const override {
        *startOffset = 0;
        *endOffset = characterCount();
        return {};
    }

protected:
    static constexpr int kMostCharacters = 32767;  // QLineEdit holds no more

    // The text read: none from an entry that hides what is typed.
    QString Whole() const {
        QLineEdit* e = Entry();
        return e && Shown() ? e->text() : QString();
    }
    bool Shown() const { return Entry() && Entry()->echoMode() == QLineEdit::Normal; }
    // -2 stands for the caret.
    int Caret(int offset) const { return offset == -2 ? cursorPosition() : offset; }
};

// Editing an entry's text as typing would, refused on a read-only entry and while the user's
// input is held off or a modal popup stands over it.
class EntryEditing : public QAccessibleEditableTextInterface {
public:
    virtual QLineEdit* EditedEntry() const = 0;

    void deleteText(int startOffset, int endOffset) override { replaceText(startOffset, endOffset, QString()); }
    void insertText(int offset, const QString& text) override { replaceText(offset, offset, text); }
    void replaceText(int startOffset, int endOffset, const QString& text) override {
        QLineEdit* e = EditedEntry();
        if (!e || e->isReadOnly() || !e->isEnabled() || AssistiveChangeRefused(e) || e->echoMode() != QLineEdit::Normal) return;
        const QString all = e->text();
        const int length = static_cast<int>(all.size());
        const int end = endOffset < 0 ? length : std::clamp(endOffset, 0, length);
        const int start = std::clamp(startOffset, 0, end);
        QString changed = all;
        changed.replace(start, end - start, text);
        if (const QValidator* v = e->validator()) {
            int pos = 0;
            if (v->validate(changed, pos) == QValidator::Invalid) return;
        }
        e->setText(changed.left(e->maxLength()));
        e->setCursorPosition(std::min(start + static_cast<int>(text.size()), static_cast<int>(e->text().size())));
    }
};

// A string entry, or a table cell's text editor: named by its label, its text as its value.
class LineEditAccessible : public QAccessibleWidget, public OwnInterface, public EntryText, public EntryEditing {
public:
    explicit LineEditAccessible(QLineEdit* e) : QAccessibleWidget(e, QAccessible::EditableText) {}
    QLineEdit* Entry() const override { return static_cast<QLineEdit*>(widget()); }
    QLineEdit* EditedEntry() const override { return Entry(); }

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value) return Whole();
        QString s = QAccessibleWidget::text(t);
        if (t == QAccessible::Name && s.isEmpty()) s = Entry()->placeholderText();
        return s;
    }
    using EntryText::text;
    QAccessible::State state() const override {
        QAccessible::State s = EditState(QAccessibleWidget::state(), Entry()->isReadOnly());
        s.passwordEdit = Entry()->echoMode() != QLineEdit::Normal;
        s.selectableText = true;
        return s;
    }
    void* interface_cast(QAccessible::InterfaceType t) override {
        if (t == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
        if (t == QAccessible::EditableTextInterface) return static_cast<QAccessibleEditableTextInterface*>(this);
        return QAccessibleWidget::interface_cast(t);
    }
};

// A text box: its lines as its text, with the caret and selection; offsets out of the text
// taken as its nearest end or answered with nothing; edited as typing would, and not while it
// is read-only or the user's input is held off.
class TextBoxAccessible : public QAccessibleWidget,
                          public OwnInterface,
                          public QAccessibleTextInterface,
                          public QAccessibleEditableTextInterface {
public:
    explicit TextBoxAccessible(QPlainTextEdit* box) : QAccessibleWidget(box, QAccessible::EditableText) {}
    QPlainTextEdit* box() const { return static_cast<QPlainTextEdit*>(widget()); }

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value) return box()->toPlainText();
        return QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override {
        QAccessible::State s = EditState(QAccessibleWidget::state(), box()->isReadOnly());
        s.multiLine = true;
        s.selectableText = true;
        return s;
    }
    // The viewport and scroll bars inside are the box itself to assistive technology.
    int childCount() const override { return 0; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    void* interface_cast(QAccessible::InterfaceType t) override {
        if (t == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
        if (t == QAccessible::EditableTextInterface) return static_cast<QAccessibleEditableTextInterface*>(this);
        return QAccessibleWidget::interface_cast(t);
    }

    QString text(int startOffset, int endOffset) const override {
        const QString all = box()->toPlainText();
        const int end = endOffset < 0 ? static_cast<int>(all.size()) : std::clamp(endOffset, 0, static_cast<int>(all.size()));
        const int start = std::clamp(startOffset, 0, end);
        return all.mid(start, end - start);
    }
    int characterCount() const override { return Count(); }
    int cursorPosition() const override { return std::clamp(box()->textCursor().position(), 0, Count()); }
    void setCursorPosition(int position) override {
        QTextCursor c = box()->textCursor();
        c.setPosition(std::clamp(position, 0, Count()));
        box()->setTextCursor(c);
    }
    int selectionCount() const override { return box()->textCursor().hasSelection() ? 1 : 0; }
    void selection(int index, int* startOffset, int* endOffset) const override {
        *startOffset = *endOffset = 0;
        if (index != 0 || !selectionCount()) return;
        *startOffset = box()->textCursor().selectionStart();
        *endOffset = box()->textCursor().selectionEnd();
    }
    void addSelection(int startOffset, int endOffset) override { setSelection(0, startOffset, endOffset); }
    void removeSelection(int index) override {
        if (index != 0) return;
        QTextCursor c = box()->textCursor();
        c.clearSelection();
        box()->setTextCursor(c);
    }
    void setSelection(int index, int startOffset, int endOffset) override {
        if (index != 0) return;
        const int count = Count();
        QTextCursor c = box()->textCursor();
        c.setPosition(std::clamp(startOffset, 0, count));
        c.setPosition(std::clamp(endOffset, 0, count), QTextCursor::KeepAnchor);
        box()->setTextCursor(c);
    }
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundary, int* startOffset, int* endOffset) const override {
        return TextPiece(box()->toPlainText(), Caret(offset), boundary, -1, startOffset, endOffset);
    }
    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundary, int* startOffset, int* endOffset) const override {
        return TextPiece(box()->toPlainText(), Caret(offset), boundary, 0, startOffset, endOffset);
    }
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundary, int* startOffset, int* endOffset) const override {
        return TextPiece(box()->toPlainText(), Caret(offset), boundary, 1, startOffset, endOffset);
    }
    // The box of a character where the box draws it. Checked against the count first: the bus
    // asks each offset of a range in turn, up to the largest there is.
    QRect characterRect(int offset) const override {
        if (offset < 0 || offset >= Count()) return {};
        QTextCursor c(box()->document());
        c.setPosition(offset);
        QRect r = box()->cursorRect(c);
        c.setPosition(offset + 1, QTextCursor::KeepAnchor);
        const QString ch = c.selectedText();
        r.setWidth(ch.isEmpty() ? 1 : std::max(1, QFontMetrics(box()->font()).horizontalAdvance(ch)));
        return QRect(box()->viewport()->mapToGlobal(r.topLeft()), r.size());
    }
    int offsetAtPoint(const QPoint& point) const override {
        const QPoint at = box()->viewport()->mapFromGlobal(point);
        if (!box()->viewport()->rect().contains(at)) return -1;
        return std::clamp(box()->cursorForPosition(at).position(), 0, Count());
    }
    void scrollToSubstring(int startIndex, int endIndex) override {
        const int count = Count();
        QTextCursor c(box()->document());
        c.setPosition(std::clamp(endIndex, 0, count));
        box()->setTextCursor(c);
        c.setPosition(std::clamp(startIndex, 0, count));
        box()->setTextCursor(c);
        box()->ensureCursorVisible();
    }
    QString attributes(int, int* startOffset, int* endOffset) const override {
        *startOffset = 0;
        *endOffset = Count();
        return {};
    }

    void deleteText(int startOffset, int endOffset) override { replaceText(startOffset, endOffset, QString()); }
    void insertText(int offset, const QString& text) override { replaceText(offset, offset, text); }
    void replaceText(int startOffset, int endOffset, const QString& text) override {
        if (box()->isReadOnly() || !box()->isEnabled() || AssistiveChangeRefused(box())) return;
        const int count = Count();
        const int end = endOffset < 0 ? count : std::clamp(endOffset, 0, count);
        QTextCursor c(box()->document());
        c.setPosition(std::clamp(startOffset, 0, end));
        c.setPosition(end, QTextCursor::KeepAnchor);
        c.insertText(text);
    }

private:
    // The characters of the text (the document counts one more, for its last paragraph's end).
    int Count() const { return std::max(0, box()->document()->characterCount() - 1); }
    int Caret(int offset) const { return offset == -2 ? cursorPosition() : offset; }
};

// A numeric entry: named by its label, the text it shows as its value and description, and as
// its text (with the caret and selection of its entry, so typing in it is read). A decimal one
// gives its number on the value interface; a hexadecimal one shows digits no number read aloud
// would match ("1470" for 5232), so it gives only the text, and steps up and down by actions.
class NumericAccessible : public QAccessibleWidget, public OwnInterface, public QAccessibleValueInterface, public EntryText {
public:
    explicit NumericAccessible(QAbstractSpinBox* box) : QAccessibleWidget(box, QAccessible::SpinBox) {}

    QAbstractSpinBox* box() const { return static_cast<QAbstractSpinBox*>(widget()); }
    bool hex() const {
        auto* i = qobject_cast<QSpinBox*>(widget());
        return i && i->displayIntegerBase() != 10;
    }
    QLineEdit* Entry() const override { return box()->findChild<QLineEdit*>(QString(), Qt::FindDirectChildrenOnly); }

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value) return box()->text();
        if (t == QAccessible::Description) return ShownWithTip(box()->text(), QAccessibleWidget::text(t));
        return QAccessibleWidget::text(t);
    }
    using EntryText::text;
    QAccessible::State state() const override {
        return EditState(QAccessibleWidget::state(), box()->isReadOnly());
    }
    // The entry inside is the spin box itself to assistive technology.
    int childCount() const override { return 0; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }

    void* interface_cast(QAccessible::InterfaceType t) override {
        if (t == QAccessible::ValueInterface) return hex() ? nullptr : static_cast<QAccessibleValueInterface*>(this);
        if (t == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(t);
    }

    QStringList actionNames() const override {
        if (!Changeable(box()) || box()->isReadOnly()) return {};
        QStringList names = QAccessibleWidget::actionNames();
        if (hex()) names << increaseAction() << decreaseAction();
        return names;
    }
    void doAction(const QString& action) override {
        if (!actionNames().contains(action)) return;
        if (action == increaseAction() || action == decreaseAction())
            AfterTheCall(box(), [box = QPointer<QAbstractSpinBox>(box()), steps = action == increaseAction() ? 1 : -1] {
                if (box && !box->isReadOnly()) box->stepBy(steps);
            });
        else
            QAccessibleWidget::doAction(action);
    }

    // Value interface (decimal entries): always numbers, as the bus reads them.
    QVariant currentValue() const override {
        const Control* c = OwnerOf(widget());
        if (c) return c->num;
        if (auto* i = qobject_cast<QSpinBox*>(widget())) return double(i->value());
        if (auto* d = qobject_cast<QDoubleSpinBox*>(widget())) return d->value();
        return 0.0;
    }
    void setCurrentValue(const QVariant& value) override {
        const std::optional<double> v = NumberSet(value);
        if (!v || !Changeable(box()) || box()->isReadOnly()) {
            TellValueUnchanged(widget(), currentValue());
            return;
        }
        if (auto* i = qobject_cast<QSpinBox*>(widget()))
            i->setValue(static_cast<int>(std::clamp(std::round(*v), double(i->minimum()), double(i->maximum()))));
        else if (auto* d = qobject_cast<QDoubleSpinBox*>(widget()))
            d->setValue(*v);
    }
    QVariant maximumValue() const override {
        if (auto* i = qobject_cast<QSpinBox*>(widget())) return double(i->maximum());
        if (auto* d = qobject_cast<QDoubleSpinBox*>(widget())) return d->maximum();
        return currentValue();
    }
    QVariant minimumValue() const override {
        if (auto* i = qobject_cast<QSpinBox*>(widget())) return double(i->minimum());
        if (auto* d = qobject_cast<QDoubleSpinBox*>(widget())) return d->minimum();
        return currentValue();
    }
    QVariant minimumStepSize() const override {
        if (auto* i = qobject_cast<QSpinBox*>(widget())) return double(i->singleStep());
        if (auto* d = qobject_cast<QDoubleSpinBox*>(widget())) return d->singleStep();
        return 1.0;
    }
};

}  // namespace

QAccessibleInterface* NewLineEditAccessible(QLineEdit* e) { return new LineEditAccessible(e); }
QAccessibleInterface* NewTextBoxAccessible(QPlainTextEdit* box) { return new TextBoxAccessible(box); }
QAccessibleInterface* NewNumericAccessible(QAbstractSpinBox* box) { return new NumericAccessible(box); }

}  // namespace rt::detail
