#pragma once

#include <QDialog>
#include <QStringList>
#include <QTimer>

#include <memory>

namespace Ui {
class CProjectorBrowseDlg;
}
class PJSearchUdp;
class QProgressDialog;

// The modal search for displays (or projectors) on the local network: the
// operator picks one of the PC's interfaces, the UDP search runs through its
// broadcast address, and the displays that answered are listed by IP address
// and name, marked where the wall layout already uses the address or holds
// the display. The opener reads the chosen address after acceptance.
class CProjectorBrowseDlg : public QDialog
{
    Q_OBJECT

public:
    // Nominal times, run on the wait service's scale.
    static constexpr int kAutoStartMs = 200;
    static constexpr int kPollMs = 500;
    static constexpr int kProjectors = 1;

    // |mode| 1 searches projectors; any other value large-screen displays.
    CProjectorBrowseDlg(QWidget *parent, int mode);
    ~CProjectorBrowseDlg() override;

    void SetUsedIPAddresses(const QStringList &addresses);
    void SetExistingDisplays(const QStringList &mac_addresses);
    // Column 0 of the selected row; empty when nothing is selected.
    QString GetSelectedIPAddress() const;

    // The search tick counter is one for the whole program run; tests start
    // from 0.
    static void reset_search_ticks_for_tests();

public slots:
    void on_networkPJEnumBtn_clicked();
    void OnPJSearchTimerTimeout();
    void tableSelectionChanged();
    void on_ok_pushButton_clicked();
    void tableItemClicked(int row, int column);
    void on_identify_selected_pushButton_clicked();

private:
    void open_progress();
    void show_results();
    void update_buttons();

    std::unique_ptr<Ui::CProjectorBrowseDlg> ui;
    PJSearchUdp *m_search = nullptr;
    QTimer m_pollTimer;
    int m_mode;
    QProgressDialog *m_progress = nullptr;
    int m_rowCount = 0;
    QStringList m_usedAddresses;
    QStringList m_existingDisplays;
};
