#pragma once

#include <QValidator>

// The validator of every IP address entry: four decimal numbers from 0 to 255
// separated by points. Text on its way there (missing numbers, a trailing
// point, a part that is not yet a number) is Intermediate; a number out of
// range or a fifth part is Invalid. It never changes the text.
class IP4Validator : public QValidator
{
    Q_OBJECT

public:
    explicit IP4Validator(QObject *parent = nullptr);

    State validate(QString &input, int &pos) const override;
};
