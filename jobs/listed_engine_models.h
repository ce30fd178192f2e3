#pragma once

#include <QString>
#include <QStringList>

// The display models that the capability check accepts at once, without
// reading their capabilities: models whose name begins with one of
// |prefixes|, or with |letter| and none of |excluded_prefixes|; all compared
// without regard to case.
struct listed_engine_model_rules
{
    QStringList prefixes;
    QChar letter;               // null: no model is listed by its letter
    QStringList excluded_prefixes;
};

// The rules in force: the program's own table unless replaced.
listed_engine_model_rules listed_engine_models();
// Replaces the rules (tests list models of their own); returns the rules
// that were in force.
listed_engine_model_rules set_listed_engine_models(const listed_engine_model_rules &rules);

bool is_listed_engine_model(const QString &model_name);
