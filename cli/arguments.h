#pragma once

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>
#include <optional>
#include <stdexcept>

// Bad command-line words; reported with exit status 2.
class UsageError : public std::runtime_error {
public:
    explicit UsageError(const QString& message) : std::runtime_error(message.toStdString()) {}
};

// What a command accepts besides --json, which every command takes.
struct ArgumentSpec {
    QSet<QString> flags;   // --hidden
    QSet<QString> options; // --limit N
    int minPositional = 0;
    int maxPositional = -1; // -1: no limit
};

class Arguments {
public:
    // Throws UsageError for unknown options, missing values or a wrong count of operands.
    static Arguments parse(const QStringList& words, const ArgumentSpec& spec);

    const QStringList& positional() const { return positional_; }
    bool flag(const QString& name) const { return flags_.contains(name); }
    bool json() const { return flag(QStringLiteral("json")); }
    std::optional<QString> option(const QString& name) const;
    // All values given for an option that may repeat.
    QStringList options(const QString& name) const { return options_.values(name); }
    // An integer option; throws UsageError when it is not a whole number in range.
    std::optional<qint64> integer(const QString& name, qint64 min, qint64 max) const;

private:
    QStringList positional_;
    QSet<QString> flags_;
    QMultiHash<QString, QString> options_;
};
