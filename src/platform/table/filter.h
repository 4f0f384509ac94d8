// Filter expressions: parsed into a tree, then compiled to a parameterised SQL condition.
//
//   expr   := term { OR term }        term := factor { AND factor }
//   factor := "(" expr ")" | field op value
//   op     := = | <> | < | > | <= | >=
//   value  := integer | 'text' (quotes doubled inside) | true | false
//
// Keywords and field names in any letter case, spaces free. A blank field compares as the empty
// text: lower than and unequal to every non-blank value. A quoted text ending in "*" with "=" or
// "<>" tests whether the field begins (or does not begin) with the text before the asterisk; with
// the other operators the asterisk is an ordinary character.
#pragma once

#include "platform/table/table.h"

#include <QString>
#include <QVariant>

#include <functional>
#include <memory>
#include <vector>

namespace table::filter {

enum class Op { Eq, Ne, Lt, Gt, Le, Ge };

struct Value {
    enum class Kind { Number, Text, Boolean } kind = Kind::Number;
    QString text;      // the digits as written, or the unquoted text
    bool flag = false; // for booleans
};

struct Node {
    enum class Kind { And, Or, Condition } kind = Kind::Condition;
    std::vector<std::unique_ptr<Node>> children; // And / Or
    QString field;                               // Condition
    int position = 0;                            // of the field name in the text (0-based)
    Op op = Op::Eq;
    Value value;
};

// nullptr for a blank text; EngineError naming the offending token otherwise.
std::unique_ptr<Node> parse(const QString& text);

struct Compiled {
    QString sql;                 // "" when every row passes
    std::vector<QVariant> binds; // qint64 or QByteArray (UTF-8 text)
};

// Resolves field names (without regard to case) to their definitions; nullptr = unknown.
using FieldResolver = std::function<const FieldDef*(const QString& name)>;

Compiled compile(const Node* tree, const FieldResolver& resolve);
Compiled compile(const QString& text, const FieldResolver& resolve);

QString quoteIdentifier(const QString& name);

// A text as a filter value: in single quotes, each quote inside doubled ("O'Hara" -> 'O''Hara').
QString quotedText(const QString& text);
// Whether a text may stand unquoted in a filter as a number: one or more ASCII digits 0-9 and
// nothing else (no sign, blank, or digit of another script).
bool isNumberText(const QString& text);

} // namespace table::filter
