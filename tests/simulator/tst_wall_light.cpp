// Light of a configured simulated wall as a simulated instrument reads it
// from the light channel.
#include "simulator/loopback_block.h"
#include "simulator/sim_wall_builder.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

namespace {

using reading = light_channel::light_reading;

struct light_wall
{
    explicit light_wall(const QString &settings)
    {
        QString error;
        sim_wall_config config;
        ok = config.parse_line(settings, &error) && build_wall(config, wall, &placed, &error);
        if (!ok)
            qWarning("%s", qPrintable(error));
    }

    int handle(int i) const { return placed.at(i).handle; }

    reading published(int i) const
    {
        reading r;
        r.Y = -1.0;
        light_channel::read_light(wall.light_key(handle(i)), &r);
        return r;
    }

    simulated_wall wall;
    QList<sim_wall_position> placed;
    bool ok = false;
};

bool same(const reading &a, const reading &b)
{
    return a.X == b.X && a.Y == b.Y && a.Z == b.Z;
}

double x_of(const reading &r)
{
    return r.X / (r.X + r.Y + r.Z);
}

const QString kWall = QStringLiteral("rows=2;columns=2;address=%1;seed=5").arg(loopback_block::address(1));

} // namespace

class tst_wall_light : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_folder;

private slots:
    void init()
    {
        QVERIFY(m_folder.isValid());
        light_channel::set_channel_folder(m_folder.path());
        light_channel::clear_channel();
    }

    void nothing_is_published_until_asked()
    {
        light_wall w(kWall);
        QVERIFY(w.ok);
        QVERIFY(w.wall.light(w.handle(0)).Y > 0.0);
        QVERIFY(QDir(m_folder.path()).entryList(QDir::Files).isEmpty());
    }

    void every_display_publishes_its_own_light()
    {
        light_wall w(kWall);
        QVERIFY(w.ok);
        w.wall.set_light_publishing(true);
        for (int i = 0; i < w.placed.size(); ++i) {
            QVERIFY(same(w.published(i), w.wall.light(w.handle(i))));
            // Whites differ in chromaticity between displays (deviations up to 0.01).
            for (int j = 0; j < i; ++j)
                QVERIFY(std::abs(x_of(w.published(i)) - x_of(w.published(j))) > 1e-5);
        }
    }

    // What the display model changes reaches the instrument.
    void video_changes_reach_the_channel()
    {
        light_wall w(kWall);
        QVERIFY(w.ok);
        w.wall.set_light_publishing(true);
        const reading before = w.published(1);
        w.wall.with_display(w.handle(1), [](sim_display &d) {
            d.video.gain[0] = 0.0;
            d.publish_video();
        });
        const reading no_red = w.published(1);
        QVERIFY(no_red.X < before.X);
        QVERIFY(same(w.published(0), w.wall.light(w.handle(0))));
        w.wall.with_display(w.handle(2), [](sim_display &d) {
            d.video.patch_on = true;
            d.publish_video(true);
        });
        QCOMPARE(light_channel::active_display(), w.wall.light_key(w.handle(2)));
        w.wall.set_input_level(w.handle(3), {{0.0, 0.0, 0.0}});
        QCOMPARE(w.published(3).Y, w.wall.panel(w.handle(3)).black_luminance);
    }

    void the_configured_input_level_is_shown()
    {
        light_wall w(QStringLiteral("address=%1;input=0.5;seed=3").arg(loopback_block::address(20)));
        QVERIFY(w.ok);
        sim_video_state half;
        half.input_level = {{0.5, 0.5, 0.5}};
        const sim_light_model model(w.wall.light_key(w.handle(0)), w.wall.panel(w.handle(0)));
        QVERIFY(same(w.wall.light(w.handle(0)), model.light(half)));
    }

    void a_seed_gives_the_same_wall_again()
    {
        QList<reading> first, again, other;
        for (auto [settings, out] : {std::pair {kWall, &first}, std::pair {kWall, &again},
                                     std::pair {QString(kWall).replace("seed=5", "seed=6"), &other}}) {
            light_wall w(settings);
            QVERIFY(w.ok);
            for (int i = 0; i < w.placed.size(); ++i)
                out->append(w.wall.light(w.handle(i)));
        }
        for (int i = 0; i < first.size(); ++i) {
            QVERIFY(same(first.at(i), again.at(i)));
            QVERIFY(!same(first.at(i), other.at(i)));
        }
    }

    void no_spread_makes_every_display_nominal()
    {
        light_wall w(QStringLiteral("columns=2;address=%1;spread=0").arg(loopback_block::address(30)));
        QVERIFY(w.ok);
        // Rounding only: the full-white sum of three primaries and black.
        QVERIFY(std::abs(w.wall.light(w.handle(0)).Y - sim_panel::nominal().max_luminance) < 1e-9);
        QVERIFY(same(w.wall.light(w.handle(0)), w.wall.light(w.handle(1))));
        w.wall.set_imperfections(9, 1.0);
        QVERIFY(!same(w.wall.light(w.handle(0)), w.wall.light(w.handle(1))));
    }
};

QTEST_APPLESS_MAIN(tst_wall_light)
#include "tst_wall_light.moc"
