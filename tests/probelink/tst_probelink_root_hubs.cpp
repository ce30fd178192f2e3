#include "probelink/probelink.h"

#include <QtTest>

// The USB backend against real devices, where the machine lets it reach any:
// PROBELINK_USB_IDS (set for this test) makes the root hubs count as probes.
// A root hub opens but has no bulk endpoint its pipes could use, and its
// interface belongs to the hub driver, so every probe fails at pipe 00.
class tst_probelink_root_hubs : public QObject
{
    Q_OBJECT

private slots:
    void root_hubs_count_but_do_not_open_pipes()
    {
        const int32_t count = get_num();
        QVERIFY(count >= 0 && count <= 127);
        if (count == 0)
            QSKIP("no USB device can be opened here");
        uint8_t buffer[16] = {};
        for (uint32_t device = 0; device < uint32_t(count); ++device) {
            QCOMPARE(int_usb(device), -3);
            QCOMPARE(read16_usb(device, buffer, 0, sizeof buffer), -2);
            QCOMPARE(end_usb(device), 0);
        }
    }
};

QTEST_APPLESS_MAIN(tst_probelink_root_hubs)
#include "tst_probelink_root_hubs.moc"
