#pragma once

#include "about/ProgramInfo.h"

#include <QDialog>

class QLabel;
class QPushButton;

/// The about box: the program's name, version, what it does, and its legal notice.
/// OK, Enter and Escape close it; it is made afresh for every showing.
class frmAbout final : public QDialog {
    Q_OBJECT

public:
    explicit frmAbout(const ProgramInfo& info = ProgramInfo::ofThisProgram(),
                      QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void Form_Load(const ProgramInfo& info);

    QLabel* picIcon = nullptr;
    QLabel* lblTitle = nullptr;
    QLabel* lblVersion = nullptr;
    QLabel* lblDescription = nullptr;
    QLabel* lblDisclaimer = nullptr;
    QPushButton* cmdOK = nullptr;
};
