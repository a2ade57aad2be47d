// SPDX-License-Identifier: MIT
// Leaks 4,000 bytes inside a timer slot, under Qt Core's event dispatch, and
// exits cleanly: the sanitizer build's leak check must report it. A
// suppression that matches any Qt frame would hide it, and with it every
// leak in our slots and handlers.

#include <QCoreApplication>
#include <QTimer>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTimer::singleShot(0, &app, [&app] {
        auto* lost = new char[4000];
        // Keeps the allocation from being optimised away; the pointer dies here.
        asm volatile("" : : "r"(lost) : "memory");
        app.quit();
    });
    return app.exec();
}
