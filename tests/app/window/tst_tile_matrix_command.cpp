#include "app/window/Tessaline.h"
#include "display_protocol/NetworkInterfaceCard.h"
#include "layout_setup/KQ_tile_matrix_wizard.h"
#include "layout_setup/program_network_interfaces.h"
#include "main_window_fixture.h"
#include "tests/dialogs/modal_answer.h"

#include <QAction>
#include <QtTest>

// The Tile Matrix action and the network interface list of the main window.
class tst_tile_matrix_command : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { cancel_pending_modal_answers(); }

    void action_runs_the_wizard_modally_over_the_window()
    {
        main_window_fixture fixture;
        Tessaline &window = fixture.window();
        fixture.wall().create_wall(4, 3);
        QWidget *parent = nullptr;
        tile_matrix_wall wall;
        when_modal_shows<KQ_tile_matrix_wizard>([&](KQ_tile_matrix_wizard *wizard) {
            parent = wizard->parentWidget();
            wall = wizard->wall();
            wizard->reject();
        });
        window.findChild<QAction *>(QStringLiteral("actionTile_Matrix_Wizard"))->trigger();
        QCOMPARE(parent, &window);
        QCOMPARE(wall.columns, 4);
        QCOMPARE(wall.rows, 3);
        QCOMPARE(wall.displays, 12);
    }

    void window_holds_the_program_interface_list()
    {
        main_window_fixture fixture;
        Tessaline &window = fixture.window();
        NetworkInterfaceCard *owned = window.networkInterfaces();
        QVERIFY(owned);
        QCOMPARE(&program_network_interfaces(), owned);
        fixture.close_window();
        // Without the window the searches use a list of their own, never the
        // window's destroyed one.
        QVERIFY(&program_network_interfaces() != owned);
        QVERIFY(program_network_interfaces().count() >= 0);
    }
};

QTEST_MAIN(tst_tile_matrix_command)
#include "tst_tile_matrix_command.moc"
