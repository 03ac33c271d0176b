#include "ui/SelectOnFocus.h"

#include <QEvent>
#include <QFocusEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <utility>

namespace ui {

namespace {

class WholeTextOnFocus : public QObject {
public:
    explicit WholeTextOnFocus(QLineEdit* box) : QObject(box), box_(box) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != box_)
            return false;
        switch (event->type()) {
        case QEvent::FocusIn:
            if (static_cast<QFocusEvent*>(event)->reason() == Qt::MouseFocusReason)
                clickFocused_ = true;
            else
                box_->selectAll();
            break;
        case QEvent::FocusOut:
            clickFocused_ = false;
            break;
        case QEvent::MouseButtonRelease:
            // A right click that focused opens the menu instead; only a plain click selects.
            if (std::exchange(clickFocused_, false) &&
                static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton &&
                !box_->hasSelectedText())
                box_->selectAll();
            break;
        default:
            break;
        }
        return false;
    }

private:
    QLineEdit* box_;
    bool clickFocused_ = false; // the focus came with a press whose release is still to come
};

} // namespace

void SelectAllOnFocus(QLineEdit* box) {
    box->installEventFilter(new WholeTextOnFocus(box));
}

} // namespace ui
