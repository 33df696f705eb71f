#pragma once

#include <QCheckBox>

/// A check box whose caption wraps onto further lines within its width, for a caption
/// too long for one line of the dialog.
class WrappingCheckBox final : public QCheckBox {
    Q_OBJECT

public:
    using QCheckBox::QCheckBox;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool hitButton(const QPoint& position) const override;
};
