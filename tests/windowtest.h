#pragma once
// The ground every window test stands on. A window test derives from
// WindowTest instead of QObject:
//
//     class TestSomething : public WindowTest {
//         Q_OBJECT
//     private slots:
//         void initTestCase() { QVERIFY(start({QDate(2007, 4, 30), QTime(9, 30)}, WithRates)); }
//         void init() { openWindows(); }
//         void cleanup() { destroyWindows(); }
//         void oneCase()
//         {
//             QVERIFY(activate(win().Horaire));
//             ...
//             QCOMPARE(m_shown, QStringList());
//         }
//     };
//
// start() makes the test's temporary folder (m_dir) the program folder, with
// the first Taux.txt in it when asked, pins the number formats ("." and a
// space between thousands) and the clock, and collects every message the
// program shows, in order, into m_shown. openWindows() creates the window
// set and forgets what its start said (a test folder has no help).
// activate() shows a window and waits until it is the active one.

#include "common/environment.h"
#include "common/messages.h"
#include "common/numbers.h"
#include "payslip/money.h"
#include "widgets/form.h"
#include "windows/windowset.h"

#include "testfiles.h"

#include <QDateTime>
#include <QObject>
#include <QStringList>
#include <QTemporaryDir>
#include <QtTest>

class WindowTest : public QObject {
protected:
    QTemporaryDir m_dir;
    QStringList m_shown;

    enum Rates { NoRates, WithRates };
    bool start(const QDateTime &now = {}, Rates rates = NoRates)
    {
        if (!m_dir.isValid() || (rates == WithRates && !copyFirstRates(m_dir.filePath("Taux.txt"))))
            return false;
        setProgramFolder(m_dir.path());
        setDecimalSeparator('.');
        setGroupSeparator(QStringLiteral(" "));
        setNowForTests(now);
        setMessageSink([this](MessageKind, const QString &text) { m_shown << text; });
        return true;
    }
    void openWindows()
    {
        createWindows();
        m_shown.clear();
    }
    static bool activate(QWidget *window)
    {
        showAndActivate(window);
        return QTest::qWaitForWindowActive(window);
    }
};
