// SPDX-License-Identifier: MIT
// TAboutBox: the about box. Created hidden; also the owner of the start-up error of run
// mode 102.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace ps::ui {

class TAboutBox : public QDialog {
    Q_OBJECT
public:
    explicit TAboutBox(QWidget* parent = nullptr);

    QLabel* ProgramIcon;
    QLabel* ProductName;
    QLabel* Version;
    QLabel* Comments;
    QPushButton* OKButton;
};

}  // namespace ps::ui
