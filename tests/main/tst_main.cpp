#include <QtTest>
class TestMain : public QObject { Q_OBJECT private Q_SLOTS: void placeholder() {} };
QTEST_MAIN(TestMain)
#include "tst_main.moc"
