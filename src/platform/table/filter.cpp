#include "platform/table/filter.h"

namespace table::filter {

namespace {

enum class Tok { End, Ident, Number, String, LParen, RParen, Op, And, Or, True, False };

struct Token {
    Tok kind = Tok::End;
    QString text; // as written (strings: unquoted content)
    int pos = 0;
    Op op = Op::Eq;
};

[[noreturn]] void syntaxError(const QString& source, const QString& detail) {
    throw EngineError(QStringLiteral("Expresión de filtro no válida (%1): %2").arg(source, detail));
}

QString describe(const Token& t) {
    switch (t.kind) {
    case Tok::End:
        return QStringLiteral("el final de la expresión");
    case Tok::String:
        return QStringLiteral("'%1' en la posición %2").arg(t.text).arg(t.pos + 1);
    default:
        return QStringLiteral("\"%1\" en la posición %2").arg(t.text).arg(t.pos + 1);
    }
}

bool isIdentStart(QChar c) {
    return c.isLetter() || c == u'_';
}
bool isIdentChar(QChar c) {
    return c.isLetterOrNumber() || c == u'_';
}

std::vector<Token> tokenize(const QString& s) {
    std::vector<Token> out;
    int i = 0;
    const int n = static_cast<int>(s.size());
    while (i < n) {
        const QChar c = s[i];
        if (c.isSpace()) {
            ++i;
            continue;
        }
        Token t;
        t.pos = i;
        if (c == u'(' || c == u')') {
            t.kind = c == u'(' ? Tok::LParen : Tok::RParen;
            t.text = c;
            ++i;
        } else if (c == u'=' || c == u'<' || c == u'>') {
            t.kind = Tok::Op;
            if (c == u'=') {
                t.op = Op::Eq;
                ++i;
            } else if (c == u'<') {
                if (i + 1 < n && s[i + 1] == u'>') {
                    t.op = Op::Ne;
                    i += 2;
                } else if (i + 1 < n && s[i + 1] == u'=') {
                    t.op = Op::Le;
                    i += 2;
                } else {
                    t.op = Op::Lt;
                    ++i;
                }
            } else {
                if (i + 1 < n && s[i + 1] == u'=') {
                    t.op = Op::Ge;
                    i += 2;
                } else {
                    t.op = Op::Gt;
                    ++i;
                }
            }
            t.text = s.mid(t.pos, i - t.pos);
        } else if (c == u'\'') {
            t.kind = Tok::String;
            ++i;
            bool closed = false;
            while (i < n) {
                if (s[i] == u'\'') {
                    if (i + 1 < n && s[i + 1] == u'\'') {
                        t.text += u'\'';
                        i += 2;
                        continue;
                    }
                    ++i;
                    closed = true;
                    break;
                }
                t.text += s[i];
                ++i;
            }
            if (!closed)
                syntaxError(s, QStringLiteral("falta la comilla que cierra el texto que empieza "
                                              "en la posición %1")
                                   .arg(t.pos + 1));
        } else if (c.isDigit() || ((c == u'-' || c == u'+') && i + 1 < n && s[i + 1].isDigit())) {
            t.kind = Tok::Number;
            ++i;
            while (i < n && s[i].isDigit())
                ++i;
            t.text = s.mid(t.pos, i - t.pos);
            if (i < n && isIdentChar(s[i]))
                syntaxError(s,
                            QStringLiteral("número mal formado en la posición %1").arg(t.pos + 1));
        } else if (isIdentStart(c)) {
            ++i;
            while (i < n && isIdentChar(s[i]))
                ++i;
            t.text = s.mid(t.pos, i - t.pos);
            const QString lower = t.text.toLower();
            if (lower == u"and")
                t.kind = Tok::And;
            else if (lower == u"or")
                t.kind = Tok::Or;
            else if (lower == u"true")
                t.kind = Tok::True;
            else if (lower == u"false")
                t.kind = Tok::False;
            else
                t.kind = Tok::Ident;
        } else {
            syntaxError(
                s, QStringLiteral("carácter no válido \"%1\" en la posición %2").arg(c).arg(i + 1));
        }
        out.push_back(std::move(t));
    }
    Token end;
    end.pos = n;
    out.push_back(end);
    return out;
}

class Parser {
public:
    explicit Parser(const QString& s) : source_(s), toks_(tokenize(s)) {}

    std::unique_ptr<Node> parseAll() {
        auto node = parseOr();
        if (peek().kind != Tok::End)
            syntaxError(source_, QStringLiteral("sobra %1").arg(describe(peek())));
        return node;
    }

private:
    const Token& peek() const { return toks_[i_]; }
    const Token& take() { return toks_[i_++]; }

    std::unique_ptr<Node> parseOr() {
        auto left = parseAnd();
        if (peek().kind != Tok::Or)
            return left;
        auto node = std::make_unique<Node>();
        node->kind = Node::Kind::Or;
        node->children.push_back(std::move(left));
        while (peek().kind == Tok::Or) {
            take();
            node->children.push_back(parseAnd());
        }
        return node;
    }

    std::unique_ptr<Node> parseAnd() {
        auto left = parseFactor();
        if (peek().kind != Tok::And)
            return left;
        auto node = std::make_unique<Node>();
        node->kind = Node::Kind::And;
        node->children.push_back(std::move(left));
        while (peek().kind == Tok::And) {
            take();
            node->children.push_back(parseFactor());
        }
        return node;
    }

    std::unique_ptr<Node> parseFactor() {
        const Token& t = take();
        if (t.kind == Tok::LParen) {
            auto inner = parseOr();
            if (peek().kind != Tok::RParen)
                syntaxError(
                    source_,
                    QStringLiteral("se esperaba \")\" y se encontró %1").arg(describe(peek())));
            take();
            return inner;
        }
        if (t.kind != Tok::Ident)
            syntaxError(source_, QStringLiteral("se esperaba un nombre de campo o \"(\" y se "
                                                "encontró %1")
                                     .arg(describe(t)));
        auto node = std::make_unique<Node>();
        node->field = t.text;
        node->position = t.pos;
        const Token& op = take();
        if (op.kind != Tok::Op)
            syntaxError(source_, QStringLiteral("se esperaba un operador después de \"%1\" y se "
                                                "encontró %2")
                                     .arg(t.text, describe(op)));
        node->op = op.op;
        const Token& v = take();
        switch (v.kind) {
        case Tok::Number:
            node->value.kind = Value::Kind::Number;
            node->value.text = v.text;
            break;
        case Tok::String:
            node->value.kind = Value::Kind::Text;
            node->value.text = v.text;
            break;
        case Tok::True:
        case Tok::False:
            node->value.kind = Value::Kind::Boolean;
            node->value.flag = v.kind == Tok::True;
            node->value.text = v.text;
            break;
        default:
            syntaxError(source_, QStringLiteral("se esperaba un valor después de \"%1 %2\" y se "
                                                "encontró %3")
                                     .arg(t.text, op.text, describe(v)));
        }
        return node;
    }

    QString source_;
    std::vector<Token> toks_;
    std::size_t i_ = 0;
};

const char* sqlOp(Op op) {
    switch (op) {
    case Op::Eq:
        return "=";
    case Op::Ne:
        return "<>";
    case Op::Lt:
        return "<";
    case Op::Gt:
        return ">";
    case Op::Le:
        return "<=";
    case Op::Ge:
        return ">=";
    }
    return "=";
}

// A comparison with a non-blank value: a blank field is lower than the value and unequal to it.
QString compareNonBlank(const QString& col, Op op) {
    const QString cmp = QStringLiteral("%1 %2 ?").arg(col, QLatin1String(sqlOp(op)));
    switch (op) {
    case Op::Ne:
    case Op::Lt:
    case Op::Le:
        return QStringLiteral("(%1 IS NULL OR %2)").arg(col, cmp);
    default:
        return cmp;
    }
}

// A comparison with the empty text: a blank field equals it and nothing is lower.
QString compareEmpty(const QString& col, Op op) {
    const QString blank = QStringLiteral("(%1 IS NULL OR %1 = '')").arg(col);
    const QString notBlank = QStringLiteral("(%1 IS NOT NULL AND %1 <> '')").arg(col);
    switch (op) {
    case Op::Eq:
    case Op::Le:
        return blank;
    case Op::Ne:
    case Op::Gt:
        return notBlank;
    case Op::Lt:
        return QStringLiteral("0");
    case Op::Ge:
        return QStringLiteral("1");
    }
    return blank;
}

[[noreturn]] void typeError(const Node& n, const FieldDef& def, const QString& why) {
    throw EngineError(
        QStringLiteral(
            "Expresión de filtro no válida: el campo %1 no se puede comparar con %2 (%3)")
            .arg(def.name,
                 n.value.kind == Value::Kind::Text ? "'" + n.value.text + "'" : n.value.text, why));
}

void compileNode(const Node& n, const FieldResolver& resolve, Compiled& out) {
    if (n.kind != Node::Kind::Condition) {
        out.sql += u'(';
        for (std::size_t i = 0; i < n.children.size(); ++i) {
            if (i > 0)
                out.sql +=
                    n.kind == Node::Kind::And ? QStringLiteral(" AND ") : QStringLiteral(" OR ");
            compileNode(*n.children[i], resolve, out);
        }
        out.sql += u')';
        return;
    }
    const FieldDef* def = resolve(n.field);
    if (!def)
        throw EngineError(QStringLiteral("Expresión de filtro no válida: campo desconocido \"%1\" "
                                         "en la posición %2")
                              .arg(n.field)
                              .arg(n.position + 1));
    const QString col = quoteIdentifier(def->name);
    switch (def->type) {
    case FieldType::Text: {
        if (n.value.kind == Value::Kind::Boolean)
            typeError(n, *def, QStringLiteral("es un campo de texto"));
        QString text = n.value.text;
        if (n.value.kind == Value::Kind::Text && text.endsWith(u'*') &&
            (n.op == Op::Eq || n.op == Op::Ne)) {
            text.chop(1);
            if (text.isEmpty()) {
                // Every text, the empty one included, begins with the empty text.
                out.sql += n.op == Op::Eq ? QStringLiteral("1") : QStringLiteral("0");
                return;
            }
            const auto length = text.toUcs4().size();
            const QString head = QStringLiteral("substr(%1, 1, %2)").arg(col).arg(length);
            out.sql += n.op == Op::Eq ? QStringLiteral("%1 = ?").arg(head)
                                      : QStringLiteral("(%1 IS NULL OR %2 <> ?)").arg(col, head);
            out.binds.emplace_back(text.toUtf8());
            return;
        }
        if (text.isEmpty()) {
            out.sql += compareEmpty(col, n.op);
            return;
        }
        out.sql += compareNonBlank(col, n.op);
        out.binds.emplace_back(text.toUtf8());
        return;
    }
    case FieldType::SmallInt:
    case FieldType::AutoInc: {
        if (n.value.kind == Value::Kind::Boolean)
            typeError(n, *def, QStringLiteral("es un campo numérico"));
        bool ok = false;
        const qint64 v = n.value.text.trimmed().toLongLong(&ok);
        if (!ok)
            typeError(n, *def, QStringLiteral("es un campo numérico"));
        out.sql += compareNonBlank(col, n.op);
        out.binds.emplace_back(v);
        return;
    }
    case FieldType::Boolean:
        if (n.value.kind != Value::Kind::Boolean)
            typeError(n, *def, QStringLiteral("es un campo lógico: use true o false"));
        out.sql += compareNonBlank(col, n.op);
        out.binds.emplace_back(qint64(n.value.flag ? 1 : 0));
        return;
    case FieldType::Blob:
        typeError(n, *def, QStringLiteral("los campos binarios no se pueden filtrar"));
    }
}

} // namespace

QString quoteIdentifier(const QString& name) {
    QString q = name;
    q.replace(u'"', QStringLiteral("\"\""));
    return u'"' + q + u'"';
}

QString quotedText(const QString& text) {
    QString q = text;
    q.replace(u'\'', QStringLiteral("''"));
    return u'\'' + q + u'\'';
}

bool isNumberText(const QString& text) {
    if (text.isEmpty())
        return false;
    for (QChar c : text)
        if (c < u'0' || c > u'9')
            return false;
    return true;
}

std::unique_ptr<Node> parse(const QString& text) {
    if (text.trimmed().isEmpty())
        return nullptr;
    return Parser(text).parseAll();
}

Compiled compile(const Node* tree, const FieldResolver& resolve) {
    Compiled out;
    if (tree)
        compileNode(*tree, resolve, out);
    return out;
}

Compiled compile(const QString& text, const FieldResolver& resolve) {
    const auto tree = parse(text);
    return compile(tree.get(), resolve);
}

} // namespace table::filter
