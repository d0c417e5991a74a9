#include "TestRegistry.h"
#include "widgets/OwnedWindow.h"

#include <QTest>
#include <QWidget>
#include <QWindow>

#include <memory>

// What the window system is told about a window: X11 window managers keep a
// window above its owner only when it names that owner (WM_TRANSIENT_FOR),
// which Qt writes for dialog-like windows alone, not for plain ones.
static bool keptAbove(const QWidget& window, const QWidget& owner)
{
    const QWindow* handle = window.windowHandle();
    return handle && handle->transientParent() == owner.windowHandle() && handle->type() == Qt::Dialog;
}

class OwnedWindowTest : public QObject {
    Q_OBJECT
private slots:
    // A plain window given an owner stays above it once shown, and taken
    // back to no owner becomes a window of its own again.
    void plainWindowIsKeptAboveItsOwner()
    {
        QWidget owner;
        owner.show();
        QVERIFY(QTest::qWaitForWindowExposed(&owner));
        auto window = std::make_unique<QWidget>(nullptr, Qt::Window);
        OwnedWindow::setOwner(window.get(), &owner);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        QVERIFY(keptAbove(*window, owner));
        QCOMPARE(OwnedWindow::owner(window.get()), &owner);
        QVERIFY(!window->parentWidget());

        window->hide();
        OwnedWindow::setOwner(window.get(), nullptr);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        QVERIFY(!window->windowHandle()->transientParent());
        QCOMPARE(window->windowHandle()->type(), Qt::Window);
        QCOMPARE(OwnedWindow::owner(window.get()), nullptr);
    }

    // The owner is the window around the widget named, and an owned window
    // is no child: disabling the owner leaves it usable.
    void ownerIsTheTopLevelAndStaysApart()
    {
        QWidget owner;
        auto* inner = new QWidget(&owner);
        owner.show();
        auto window = std::make_unique<QWidget>(nullptr, Qt::Window);
        OwnedWindow::setOwner(window.get(), inner);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        QVERIFY(keptAbove(*window, owner));
        owner.setEnabled(false);
        QVERIFY(window->isEnabled());
    }

    // A window already shown keeps its kind (changing it would hide it) but
    // still learns its owner.
    void shownWindowKeepsItsKind()
    {
        QWidget owner;
        owner.show();
        auto window = std::make_unique<QWidget>(nullptr, Qt::Window);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        OwnedWindow::setOwner(window.get(), &owner);
        QVERIFY(window->isVisible());
        QCOMPARE(window->windowHandle()->transientParent(), owner.windowHandle());
    }
};

QP_REGISTER_TEST(OwnedWindowTest)
#include "tst_OwnedWindow.moc"
