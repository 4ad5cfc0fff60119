#include "focusstyle.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOption>
#include <cmath>

namespace tarvo {

namespace {

double channel(double c) {
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double luminance(const QColor& c) {
    return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
}

// One pixel wide outline just inside r.
void fillOutline(QPainter* p, const QRect& r, const QColor& c) {
    if (r.width() < 2 || r.height() < 2)
        return;
    p->fillRect(QRect(r.left(), r.top(), r.width(), 1), c);
    p->fillRect(QRect(r.left(), r.bottom(), r.width(), 1), c);
    p->fillRect(QRect(r.left(), r.top() + 1, 1, r.height() - 2), c);
    p->fillRect(QRect(r.right(), r.top() + 1, 1, r.height() - 2), c);
}

// The ring: an outer row that stands out against outside and an inner row
// that stands out against inside.
void drawRing(QPainter* p, const QRect& r, const QColor& outside, const QColor& inside) {
    p->save();
    p->setClipping(false);
    fillOutline(p, r, focusRingColour(outside));
    fillOutline(p, r.adjusted(1, 1, -1, -1), focusRingColour(inside));
    p->restore();
}

constexpr int kRing = 2;

// r moved right of the ring's left side and, where the control is tall
// enough, clear of its top and bottom rows.
QRect insideRing(QRect r, const QRect& control) {
    r.translate(kRing, 0);
    if (r.top() < control.top() + kRing && r.height() <= control.height() - 2 * kRing)
        r.moveTop(control.top() + kRing);
    if (r.bottom() > control.bottom() - kRing && r.height() <= control.height() - 2 * kRing)
        r.moveBottom(control.bottom() - kRing);
    return r;
}

bool focused(const QStyleOption* opt) {
    return opt && (opt->state & QStyle::State_HasFocus);
}

class FocusStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;

    void drawPrimitive(PrimitiveElement pe, const QStyleOption* opt, QPainter* p,
                       const QWidget* w) const override {
        if (pe == PE_FrameFocusRect && opt) {
            QColor under = opt->palette.color(QPalette::Window);
            if (auto* f = qstyleoption_cast<const QStyleOptionFocusRect*>(opt))
                if (f->backgroundColor.isValid())
                    under = f->backgroundColor;
            drawRing(p, opt->rect, under, under);
            return;
        }
        if (pe == PE_PanelLineEdit && focused(opt)) {
            auto* f = qstyleoption_cast<const QStyleOptionFrame*>(opt);
            if (f && f->lineWidth > 0) {
                QStyleOptionFrame plain = *f;
                plain.state &= ~State_HasFocus;
                QProxyStyle::drawPrimitive(pe, &plain, p, w);
                drawRing(p, opt->rect, opt->palette.color(QPalette::Window),
                         opt->palette.color(QPalette::Base));
                return;
            }
        }
        QProxyStyle::drawPrimitive(pe, opt, p, w);
    }

    void drawControl(ControlElement ce, const QStyleOption* opt, QPainter* p,
                     const QWidget* w) const override {
        if (!focused(opt)) {
            QProxyStyle::drawControl(ce, opt, p, w);
            return;
        }
        switch (ce) {
        case CE_PushButton:
            drawWithout<QStyleOptionButton>(ce, opt, p, w);
            drawRing(p, opt->rect.adjusted(1, 1, -1, -1), opt->palette.color(QPalette::Button),
                     opt->palette.color(QPalette::Button));
            return;
        case CE_TabBarTab:
            drawWithout<QStyleOptionTab>(ce, opt, p, w);
            drawRing(p, opt->rect.adjusted(1, 1, -1, -1), opt->palette.color(QPalette::Button),
                     opt->palette.color(QPalette::Button));
            return;
        case CE_CheckBox:
        case CE_RadioButton:
            drawWithout<QStyleOptionButton>(ce, opt, p, w);
            drawRing(p, opt->rect, opt->palette.color(QPalette::Window),
                     opt->palette.color(QPalette::Window));
            return;
        case CE_ShapedFrame:
            QProxyStyle::drawControl(ce, opt, p, w);
            drawRing(p, opt->rect, opt->palette.color(QPalette::Window),
                     opt->palette.color(QPalette::Base));
            return;
        default:
            QProxyStyle::drawControl(ce, opt, p, w);
            return;
        }
    }

    void drawComplexControl(ComplexControl cc, const QStyleOptionComplex* opt, QPainter* p,
                            const QWidget* w) const override {
        if (!focused(opt) || (cc != CC_ComboBox && cc != CC_SpinBox && cc != CC_Slider &&
                              cc != CC_ToolButton && cc != CC_Dial)) {
            QProxyStyle::drawComplexControl(cc, opt, p, w);
            return;
        }
        QPalette::ColorRole inner = QPalette::Window;
        if (auto* c = qstyleoption_cast<const QStyleOptionComboBox*>(opt)) {
            QStyleOptionComboBox plain = *c;
            plain.state &= ~State_HasFocus;
            QProxyStyle::drawComplexControl(cc, &plain, p, w);
            inner = c->editable ? QPalette::Base : QPalette::Button;
        } else if (auto* s = qstyleoption_cast<const QStyleOptionSpinBox*>(opt)) {
            QStyleOptionSpinBox plain = *s;
            plain.state &= ~State_HasFocus;
            QProxyStyle::drawComplexControl(cc, &plain, p, w);
            inner = QPalette::Base;
        } else if (auto* t = qstyleoption_cast<const QStyleOptionToolButton*>(opt)) {
            QStyleOptionToolButton plain = *t;
            plain.state &= ~State_HasFocus;
            QProxyStyle::drawComplexControl(cc, &plain, p, w);
            inner = QPalette::Button;
        } else if (auto* s = qstyleoption_cast<const QStyleOptionSlider*>(opt)) {
            QStyleOptionSlider plain = *s;
            plain.state &= ~State_HasFocus;
            QProxyStyle::drawComplexControl(cc, &plain, p, w);
        } else {
            QProxyStyle::drawComplexControl(cc, opt, p, w);
        }
        drawRing(p, opt->rect, opt->palette.color(QPalette::Window), opt->palette.color(inner));
    }

    // A tick box or option button keeps its indicator and caption clear of
    // the two-pixel ring drawn round the whole control: they sit inside it.
    QRect subElementRect(SubElement se, const QStyleOption* opt, const QWidget* w) const override {
        QRect r = QProxyStyle::subElementRect(se, opt, w);
        switch (se) {
        case SE_CheckBoxIndicator:
        case SE_RadioButtonIndicator:
        case SE_CheckBoxContents:
        case SE_RadioButtonContents:
        case SE_CheckBoxFocusRect:
        case SE_RadioButtonFocusRect:
        case SE_CheckBoxClickRect:
        case SE_RadioButtonClickRect:
            return opt ? insideRing(r, opt->rect) : r;
        default:
            return r;
        }
    }

    QSize sizeFromContents(ContentsType ct, const QStyleOption* opt, const QSize& contents,
                           const QWidget* w) const override {
        QSize size = QProxyStyle::sizeFromContents(ct, opt, contents, w);
        if (ct == CT_CheckBox || ct == CT_RadioButton)
            size += QSize(2 * kRing, 0);
        return size;
    }

    int pixelMetric(PixelMetric m, const QStyleOption* opt, const QWidget* w) const override {
        const int base = QProxyStyle::pixelMetric(m, opt, w);
        // Room for the whole ring around lists and text boxes.
        if (m == PM_DefaultFrameWidth && qobject_cast<const QAbstractScrollArea*>(w))
            return qMax(base, 2);
        return base;
    }

private:
    template <typename Option>
    void drawWithout(ControlElement ce, const QStyleOption* opt, QPainter* p,
                     const QWidget* w) const {
        if (auto* o = qstyleoption_cast<const Option*>(opt)) {
            Option plain = *o;
            plain.state &= ~State_HasFocus;
            QProxyStyle::drawControl(ce, &plain, p, w);
        } else {
            QProxyStyle::drawControl(ce, opt, p, w);
        }
    }
};

} // namespace

double contrastRatio(const QColor& a, const QColor& b) {
    const double la = luminance(a);
    const double lb = luminance(b);
    return (qMax(la, lb) + 0.05) / (qMin(la, lb) + 0.05);
}

QColor focusRingColour(const QColor& surface) {
    return contrastRatio(surface, Qt::black) >= contrastRatio(surface, Qt::white) ? Qt::black
                                                                                  : Qt::white;
}

void installFocusStyle() {
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()) ||
        dynamic_cast<FocusStyle*>(QApplication::style()))
        return;
    QStyle* base = QStyleFactory::create(QApplication::style()->name());
    QApplication::setStyle(new FocusStyle(base));
}

} // namespace tarvo
