#pragma once

#include <QString>
#include <QStringList>

// The display models that the capability check passes at once, without
// reading further capabilities: a model whose name begins (letter case
// ignored) with one of |prefixes|, or with |letter| and none of
// |excluded_prefixes|.
struct listed_engine_model_table
{
    QStringList prefixes;
    QString letter;
    QStringList excluded_prefixes;
};

// The table in force: the program's own unless a test replaced it.
listed_engine_model_table listed_engine_models();
// Replaces the table for the whole process and returns the one it replaced
// (a test puts that back when it is done).
listed_engine_model_table replace_listed_engine_models(const listed_engine_model_table &table);

bool is_listed_engine_model(const QString &model_name);
