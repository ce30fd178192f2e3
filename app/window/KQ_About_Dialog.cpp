#include "app/window/KQ_About_Dialog.h"

#include "app/services/string_resource.h"
#include "app/services/version_text.h"

#include "ui_KQ_About_Dialog.h"

#include <QLayout>

KQ_About_Dialog::KQ_About_Dialog(QWidget *parent)
    : QDialog(parent)
    , m_ui(new Ui::KQ_About_DialogClass)
{
    m_ui->setupUi(this);
    m_ui->copyright_label->setText(string_resource(string_id::kIccProfileCopyrightText));
    m_ui->version_label->setText(version_text());
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
}

KQ_About_Dialog::~KQ_About_Dialog() = default;
