// SPDX-License-Identifier: MIT
// The reference for the start-up bench: a Qt program that shows one window
// with one Japanese label, the main window's size, built like the program.

#include <QApplication>
#include <QLabel>
#include <QWidget>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget w;
    w.resize(478, 386);
    QLabel label(QStringLiteral("Velmix グラデーション"), &w);
    label.move(8, 8);
    w.show();
    return QApplication::exec();
}
