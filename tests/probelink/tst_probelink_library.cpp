#include "probelink/probelink.h"

#include "elf_exports.h"

#include <QtTest>

#include <dlfcn.h>

// The built library as another program sees it: loaded by path, offering
// exactly the seven calls, and answering them on a machine without probes.
class tst_probelink_library : public QObject
{
    Q_OBJECT

    void *m_library = nullptr;

    template <typename Function>
    Function *resolve(const char *name)
    {
        return reinterpret_cast<Function *>(dlsym(m_library, name));
    }

private slots:
    void initTestCase()
    {
        m_library = dlopen(PROBELINK_LIBRARY_PATH, RTLD_NOW | RTLD_LOCAL);
        QVERIFY2(m_library, dlerror());
    }

    void cleanupTestCase()
    {
        if (m_library)
            dlclose(m_library);
    }

    void exports_exactly_the_seven_calls()
    {
        QStringList exported = elf_exported_symbols(QStringLiteral(PROBELINK_LIBRARY_PATH));
        exported.sort();
        QCOMPARE(exported, (QStringList{"end_usb", "get_num", "int_usb", "read16_usb", "read64_usb",
                                        "write16_usb", "write64_usb"}));
        for (const QString &name : exported)
            QVERIFY2(dlsym(m_library, name.toLatin1().constData()), qPrintable(name));
    }

    void answers_without_probes()
    {
        const auto getNum = resolve<decltype(get_num)>("get_num");
        const auto intUsb = resolve<decltype(int_usb)>("int_usb");
        const auto endUsb = resolve<decltype(end_usb)>("end_usb");
        const auto write16 = resolve<decltype(write16_usb)>("write16_usb");
        const auto read16 = resolve<decltype(read16_usb)>("read16_usb");
        const auto write64 = resolve<decltype(write64_usb)>("write64_usb");
        const auto read64 = resolve<decltype(read64_usb)>("read64_usb");
        QVERIFY(getNum && intUsb && endUsb && write16 && read16 && write64 && read64);

        if (getNum() != 0)
            QSKIP("a probe is attached to this machine");
        uint8_t buffer[64] = {};
        QCOMPARE(intUsb(0), -2);
        QCOMPARE(intUsb(126), -2);
        QCOMPARE(intUsb(127), -1);
        QCOMPARE(endUsb(0), 0);
        QCOMPARE(endUsb(127), -1);
        QCOMPARE(write16(0, buffer, 0, 16), -2);
        QCOMPARE(read16(0, buffer, 0, 16), -2);
        QCOMPARE(write64(0, buffer, 0, 64), -2);
        QCOMPARE(read64(0, buffer, 0, 64), -2);
        QCOMPARE(read64(127, buffer, 0, 64), -1);
        QCOMPARE(write16(0, nullptr, 0, 0xFFFFFFFFu), -2);
    }
};

QTEST_APPLESS_MAIN(tst_probelink_library)
#include "tst_probelink_library.moc"
