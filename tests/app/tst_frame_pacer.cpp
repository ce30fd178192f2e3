#include "app/services/frame_pacer.h"

#include <QtTest>

class tst_frame_pacer : public QObject
{
    Q_OBJECT

private slots:
    // A lone change shows at once; the changes that follow within the frame
    // show once, at its end; another key is not held by the first.
    void a_burst_reaches_the_screen_once_a_frame()
    {
        QList<int> delivered;
        frame_pacer pacer([&delivered](int key) { delivered << key; });
        pacer.request(1);
        QCOMPARE(delivered, QList<int>{1});
        for (int i = 0; i < 50; ++i)
            pacer.request(1);
        pacer.request(2);
        QCOMPARE(delivered, (QList<int>{1, 2}));
        QTRY_COMPARE(delivered, (QList<int>{1, 2, 1}));
        QTest::qWait(3 * frame_pacer::kFrameMs);
        QCOMPARE(delivered, (QList<int>{1, 2, 1}));
    }

    // The end of a job passes its key's held change on at once, and only a held one.
    void a_flush_passes_a_held_change_on_now()
    {
        QList<int> delivered;
        frame_pacer pacer([&delivered](int key) { delivered << key; });
        pacer.flush(3);
        QVERIFY(delivered.isEmpty());
        pacer.request(3);
        pacer.request(3);
        pacer.request(4);
        pacer.request(4);
        pacer.flush(3);
        QCOMPARE(delivered, (QList<int>{3, 4, 3}));
        QTRY_COMPARE(delivered, (QList<int>{3, 4, 3, 4}));
        QTest::qWait(3 * frame_pacer::kFrameMs);
        QCOMPARE(delivered.size(), 4);
    }
};

QTEST_MAIN(tst_frame_pacer)
#include "tst_frame_pacer.moc"
