#pragma once

#include <QRadioButton>

/// An option button whose caption wraps onto further lines within its width, for a
/// caption too long for one line of the dialog.
class WrappingRadioButton final : public QRadioButton {
    Q_OBJECT

public:
    using QRadioButton::QRadioButton;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool hitButton(const QPoint& position) const override;
};
