#include "app/services/ui/my_custom_message_box.h"

#include "app/services/string_resource.h"
#include "display_protocol/wait_service.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QStyle>

namespace {

constexpr qint64 kTickMs = 1000;

QGridLayout *grid_of(QWidget *widget)
{
    return qobject_cast<QGridLayout *>(widget->layout());
}

} // namespace

MyCustomMessageBox::MyCustomMessageBox(QWidget *parent, int countdownSeconds, bool placeOnLeftHalf,
                                       bool showDontShowCheckBox)
    : QMessageBox(parent), m_timer(this), m_secondsLeft(countdownSeconds)
{
    if (!parent)
        setWindowIcon(QIcon(QStringLiteral(":/images/Resources/varkel icon.png")));
    if (m_secondsLeft != 0) {
        // A tick is a second of the operator's time; tests scale it down.
        m_timer.setSingleShot(false);
        m_timer.setInterval(wait_service::timer_interval_ms(kTickMs));
        connect(&m_timer, &QTimer::timeout, this, &MyCustomMessageBox::on_timeout);
    }
    if (placeOnLeftHalf)
        this->placeOnLeftHalf(parent);
    QGridLayout *grid = grid_of(this);
    if (showDontShowCheckBox && grid) {
        m_dontShowCheckBox = new QCheckBox(tr("Don't show this again"), this);
        addCheckBox(grid);
    }
    if (m_secondsLeft != 0 && grid) {
        m_countdownLabel = new QLabel(QStringLiteral(" "), this);
        m_countdownLabel->setObjectName(QStringLiteral("qt_msgbox_informativelabel"));
        m_countdownLabel->setTextInteractionFlags(static_cast<Qt::TextInteractionFlags>(
            style()->styleHint(QStyle::SH_MessageBox_TextInteractionFlags, nullptr, this)));
        m_countdownLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        m_countdownLabel->setOpenExternalLinks(true);
        m_countdownLabel->setWordWrap(true);
        addCountdownLabel(grid);
    }
    // The first text stands before the box is shown.
    if (m_secondsLeft != 0)
        on_timeout();
}

MyCustomMessageBox::~MyCustomMessageBox() = default;

bool MyCustomMessageBox::isDontShowChecked() const
{
    return m_dontShowCheckBox && m_dontShowCheckBox->isChecked();
}

int MyCustomMessageBox::exec()
{
    if (m_secondsLeft != 0)
        m_timer.start();
    return QMessageBox::exec();
}

void MyCustomMessageBox::on_timeout()
{
    if (m_secondsLeft == 0) {
        m_timer.stop();
        QDialog::accept();
        return;
    }
    if (m_countdownLabel) {
        const int id = m_secondsLeft == 1 ? string_id::kClosesInOneSecond : string_id::kClosesInSeconds;
        m_countdownLabel->setText(string_resource(id).arg(m_secondsLeft));
    }
    --m_secondsLeft;
}

void MyCustomMessageBox::redoLayout()
{
    QGridLayout *grid = grid_of(this);
    if (!grid)
        return;
    if (m_countdownLabel && grid->indexOf(m_countdownLabel) < 0)
        addCountdownLabel(grid);
    if (m_dontShowCheckBox && grid->indexOf(m_dontShowCheckBox) < 0)
        addCheckBox(grid);
}

// Centred on the first quarter of the screen, top edge at half its height,
// so that the box leaves the wall view on the right visible.
void MyCustomMessageBox::placeOnLeftHalf(QWidget *parent)
{
    QScreen *screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->geometry();
    if (area.width() == 0)
        return;
    move(area.left() + area.width() / 4 - frameGeometry().width() / 2, area.top() + area.height() / 2);
}

void MyCustomMessageBox::addCheckBox(QGridLayout *grid)
{
    grid->addWidget(m_dontShowCheckBox, grid->rowCount(), 0, 1, grid->columnCount());
}

void MyCustomMessageBox::addCountdownLabel(QGridLayout *grid)
{
    grid->addWidget(m_countdownLabel, 1, 1, 1, grid->columnCount() - 1);
}
