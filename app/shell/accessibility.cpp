#include "accessibility.h"

#include "clicklabel.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyledItemDelegate>

namespace tarvo {

namespace {

// A caption as it is read: "&&" is an ampersand, a single '&' marks the
// mnemonic and is not read.
QString stripAmpersands(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('&') && ++i == text.size())
            break;
        out += text[i];
    }
    return out.trimmed();
}

// A group box named by its own caption. (Qt's own takes the caption of the
// box around it first, so that the two inner boxes of a step were both named
// after the step.)
class GroupBoxAccessible : public QAccessibleWidget {
public:
    explicit GroupBoxAccessible(QGroupBox* box) : QAccessibleWidget(box, QAccessible::Grouping) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name) {
            const auto* box = static_cast<const QGroupBox*>(widget());
            return box->accessibleName().isEmpty() ? stripAmpersands(box->title())
                                                   : box->accessibleName();
        }
        return QAccessibleWidget::text(t);
    }

    // The caption labels what the box holds.
    QList<QPair<QAccessibleInterface*, QAccessible::Relation>>
    relations(QAccessible::Relation match) const override {
        auto out = QAccessibleWidget::relations(match);
        const auto* box = static_cast<const QGroupBox*>(widget());
        if (!(match & QAccessible::Labelled) || box->title().isEmpty())
            return out;
        const auto kids = box->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
        for (QWidget* kid : kids)
            if (!kid->isWindow())
                if (QAccessibleInterface* a = QAccessible::queryAccessibleInterface(kid))
                    out.append({a, QAccessible::Labelled});
        return out;
    }
};

// A drop-down list named by its label; its choice is its value. (Qt's own
// names it by its value on Linux.)
class ComboBoxAccessible : public QAccessibleWidget {
public:
    explicit ComboBoxAccessible(QComboBox* box) : QAccessibleWidget(box, QAccessible::ComboBox) {}

    QComboBox* box() const { return static_cast<QComboBox*>(widget()); }

    int childCount() const override { return box()->isEditable() ? 2 : 1; }
    QAccessibleInterface* child(int index) const override {
        if (index == 0)
            return QAccessible::queryAccessibleInterface(box()->view());
        if (index == 1 && box()->isEditable())
            return QAccessible::queryAccessibleInterface(box()->lineEdit());
        return nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        if (!child)
            return -1;
        if (child->object() == box()->view())
            return 0;
        if (box()->isEditable() && child->object() == box()->lineEdit())
            return 1;
        return -1;
    }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* focusChild() const override {
        return box()->view()->hasFocus() ? child(0) : nullptr;
    }

    QString text(QAccessible::Text t) const override {
        switch (t) {
        case QAccessible::Name: {
            QString name = box()->accessibleName();
            if (name.isEmpty())
                name = buddyLabelText(box());
            if (name.isEmpty())
                if (auto* group = qobject_cast<QGroupBox*>(box()->parentWidget()))
                    name = stripAmpersands(group->title());
            return name;
        }
        case QAccessible::Value:
            return box()->isEditable() ? box()->lineEdit()->text() : box()->currentText();
        default:
            return QAccessibleWidget::text(t);
        }
    }

    QStringList actionNames() const override {
        return QStringList{showMenuAction(), pressAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& action) override {
        if (action != showMenuAction() && action != pressAction()) {
            QAccessibleWidget::doAction(action);
            return;
        }
        if (!box()->isEnabled())
            return;
        if (box()->view()->isVisible())
            box()->hidePopup();
        else
            box()->showPopup();
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }
};

// Option buttons and tick boxes (and push buttons that hold a state). A
// screen reader's toggle clicks the button as the user does, so the window
// does what a click does: Qt's own only changes the checked state behind the
// window's back.
class CheckableAccessible : public QAccessibleWidget {
public:
    explicit CheckableAccessible(QAbstractButton* b) : QAccessibleWidget(b, QAccessible::Button) {}

    QAbstractButton* button() const { return static_cast<QAbstractButton*>(widget()); }

    QAccessible::Role role() const override {
        QAbstractButton* b = button();
        if (!b->isCheckable())
            return QAccessible::Button;
        const QButtonGroup* group = b->group();
        const bool oneChoice = group ? group->exclusive() : b->autoExclusive();
        return oneChoice ? QAccessible::RadioButton : QAccessible::CheckBox;
    }

    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        QAbstractButton* b = button();
        if (b->isCheckable())
            s.checkable = true;
        if (auto* box = qobject_cast<QCheckBox*>(b)) {
            if (box->checkState() == Qt::Checked)
                s.checked = true;
            else if (box->checkState() == Qt::PartiallyChecked)
                s.checkStateMixed = true;
        } else if (b->isChecked()) {
            s.checked = true;
        }
        if (b->isDown())
            s.pressed = true;
        if (auto* push = qobject_cast<QPushButton*>(b); push && push->isDefault())
            s.defaultButton = true;
        return s;
    }

    QString text(QAccessible::Text t) const override {
        QString s;
        if (t == QAccessible::Name) {
            s = button()->accessibleName();
            if (s.isEmpty())
                s = stripAmpersands(button()->text());
        } else if (t == QAccessible::Accelerator) {
            const QKeySequence key = QKeySequence::mnemonic(button()->text());
            s = key.isEmpty() ? QString() : key.toString(QKeySequence::NativeText);
        }
        return s.isEmpty() ? QAccessibleWidget::text(t) : s;
    }

    QStringList actionNames() const override {
        QStringList names;
        if (button()->isEnabled())
            names << (button()->isCheckable() ? toggleAction() : pressAction());
        return names + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& action) override {
        if (action == toggleAction() || action == pressAction()) {
            if (button()->isEnabled())
                button()->click();
            return;
        }
        QAccessibleWidget::doAction(action);
    }
    QStringList keyBindingsForAction(const QString& action) const override {
        const QKeySequence key = QKeySequence::mnemonic(button()->text());
        if ((action == toggleAction() || action == pressAction()) && !key.isEmpty())
            return {key.toString(QKeySequence::NativeText)};
        return {};
    }
};

// A frame inside a window is a panel, named by the label whose buddy it is
// when it has no name of its own.
class PanelAccessible : public QAccessibleWidget {
public:
    explicit PanelAccessible(QWidget* w) : QAccessibleWidget(w, QAccessible::Pane) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
            if (const QString label = buddyLabelText(widget()); !label.isEmpty())
                return label;
        return QAccessibleWidget::text(t);
    }
};

// A window of the program's own making: a frame, or a dialog, named by its
// title.
bool isPlainWindow(const QWidget* w) {
    const QMetaObject* mo = w->metaObject();
    return w->isWindow() &&
           (mo == &QWidget::staticMetaObject || mo->superClass() == &QWidget::staticMetaObject);
}

QAccessibleInterface* programAccessible(const QString& className, QObject* object) {
    if (!object || !object->isWidgetType())
        return nullptr;
    auto* w = static_cast<QWidget*>(object);
    if (isPlainWindow(w)) {
        switch (w->windowType()) {
        case Qt::Window:
            return new QAccessibleWidget(w, QAccessible::Window);
        case Qt::Dialog:
            return new QAccessibleWidget(w, QAccessible::Dialog);
        default:
            return nullptr;
        }
    }
    if (className == QLatin1String("QLabel"))
        return clickLabelAccessible(w);
    if (className == QLatin1String("QFrame") && !w->isWindow())
        return new PanelAccessible(w);
    if (className == QLatin1String("QGroupBox")) {
        auto* box = static_cast<QGroupBox*>(w);
        return box->isCheckable() ? nullptr : new GroupBoxAccessible(box);
    }
    if (className == QLatin1String("QComboBox"))
        return new ComboBoxAccessible(static_cast<QComboBox*>(w));
    if (className == QLatin1String("QRadioButton") || className == QLatin1String("QCheckBox") ||
        (className == QLatin1String("QPushButton") && static_cast<QPushButton*>(w)->isCheckable()))
        return new CheckableAccessible(static_cast<QAbstractButton*>(w));
    return nullptr;
}

class NamedEditorDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (editor && index.model()) {
            const QAbstractItemModel* m = index.model();
            const QString row = m->headerData(index.row(), Qt::Vertical).toString();
            const QString column = m->headerData(index.column(), Qt::Horizontal).toString();
            editor->setAccessibleName(row.isEmpty() || column.isEmpty()
                                          ? row + column
                                          : row + QStringLiteral(", ") + column);
        }
        return editor;
    }
};

} // namespace

void nameCellEditors(QAbstractItemView* view) {
    view->setItemDelegate(new NamedEditorDelegate(view));
}

QString buddyLabelText(const QWidget* w) {
    const QWidget* parent = w ? w->parentWidget() : nullptr;
    if (!parent)
        return {};
    const auto labels = parent->findChildren<QLabel*>(Qt::FindDirectChildrenOnly);
    for (const QLabel* l : labels)
        if (l->buddy() == w)
            return stripAmpersands(l->text());
    return {};
}

void installAccessibilityRules() {
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return;
    // The factory installed last is asked first: ours comes after Qt's own.
    QAccessible::removeFactory(programAccessible);
    QAccessible::installFactory(programAccessible);
}

} // namespace tarvo
