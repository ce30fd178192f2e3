#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class KQ_About_DialogClass;
}

// The About box of the Help menu: logo, legal line, version and the maker's
// web sites. Fixed in size; the caller runs it modally.
class KQ_About_Dialog : public QDialog
{
    Q_OBJECT

public:
    explicit KQ_About_Dialog(QWidget *parent = nullptr);
    ~KQ_About_Dialog() override;

private:
    std::unique_ptr<Ui::KQ_About_DialogClass> m_ui;
};
