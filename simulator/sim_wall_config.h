#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <array>

// A whole simulated wall in a few settings, read from a small text file (one
// "key = value" a line, '#' starts a comment) or from one command-line text
// (the same settings separated by ';'). Displays are numbered row by row
// from the top left; consecutive displays share a daisy chain of
// |chain_length|, each chain on its own LAN address (counting up from
// |first_address|) or its own pseudo-terminal.
struct sim_wall_config
{
    enum class link_kind { lan, serial };
    // Monitor IDs start at 1 on each chain, or count on across the wall
    // (display n has ID n), as a wizard numbers separately linked displays.
    enum class id_numbering { chain, wall };

    int rows = 1;
    int columns = 1;
    link_kind link = link_kind::lan;
    QString first_address = QStringLiteral("127.0.0.50");
    int chain_length = 1;
    id_numbering ids = id_numbering::chain;
    // Model names, given to the displays in turn.
    QStringList models {QStringLiteral("SIM-WALL 55")};
    quint64 seed = 0;
    double spread = 1.0;
    std::array<double, 3> input_level {{1.0, 1.0, 1.0}};

    int display_count() const { return rows * columns; }
    int chain_count() const { return (display_count() + chain_length - 1) / chain_length; }
    // The monitor ID of display |display| (0 = the first), 1-based.
    int monitor_id(int display) const { return ids == id_numbering::wall ? display + 1 : display % chain_length + 1; }
    // The address of chain |chain| ("" when it would leave the address range).
    QString chain_address(int chain) const;

    // Replaces the settings named in |text| (file form); false with a
    // message naming the line when a line cannot be read or the wall is not
    // possible.
    bool parse(const QString &text, QString *error);
    // The same for the command-line form.
    bool parse_line(const QString &text, QString *error);
    bool read_file(const QString &path, QString *error);
};
