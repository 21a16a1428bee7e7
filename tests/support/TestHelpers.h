#pragma once
// Small helpers every test suite uses: readable Qt texts in failure messages, and the message
// of the error a call raises.
#include "foundation/Errors.h"

#include <QString>
#include <QStringList>
#include <ostream>

inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

inline void PrintTo(const QStringList& list, std::ostream* os)
{
    *os << "{\"" << list.join(QStringLiteral("\", \"")).toStdString() << "\"}";
}

// The message of the error f raises, or "<no error>".
template <class F>
QString MessageOf(F&& f)
{
    try {
        f();
    } catch (const ESystemError& e) {
        return e.Message();
    }
    return QStringLiteral("<no error>");
}
