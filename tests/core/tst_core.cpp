#include <QtTest>
class TestCore : public QObject { Q_OBJECT private Q_SLOTS: void placeholder() {} };
QTEST_APPLESS_MAIN(TestCore)
#include "tst_core.moc"
