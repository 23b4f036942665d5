#include "arguments.h"

Arguments Arguments::parse(const QStringList& words, const ArgumentSpec& spec)
{
    Arguments result;
    bool operandsOnly = false;
    for (qsizetype i = 0; i < words.size(); ++i) {
        const QString& word = words[i];
        if (operandsOnly || !word.startsWith(QStringLiteral("--")) || word == u"-") {
            result.positional_.append(word);
            continue;
        }
        if (word == u"--") {
            operandsOnly = true;
            continue;
        }
        QString name = word.mid(2);
        std::optional<QString> inlineValue;
        if (const qsizetype eq = name.indexOf(u'='); eq >= 0) {
            inlineValue = name.mid(eq + 1);
            name.truncate(eq);
        }
        if (name == u"json" || spec.flags.contains(name)) {
            if (inlineValue) throw UsageError(QStringLiteral("--%1 takes no value").arg(name));
            result.flags_.insert(name);
        } else if (spec.options.contains(name)) {
            if (!inlineValue && i + 1 >= words.size())
                throw UsageError(QStringLiteral("--%1 needs a value").arg(name));
            result.options_.insert(name, inlineValue ? *inlineValue : words[++i]);
        } else {
            throw UsageError(QStringLiteral("unknown option --%1").arg(name));
        }
    }
    const int count = int(result.positional_.size());
    if (count < spec.minPositional) throw UsageError(QStringLiteral("missing operand"));
    if (spec.maxPositional >= 0 && count > spec.maxPositional)
        throw UsageError(QStringLiteral("unexpected operand \u201C%1\u201D")
                             .arg(result.positional_[spec.maxPositional]));
    return result;
}

std::optional<QString> Arguments::option(const QString& name) const
{
    // The last one given wins, as with most command-line tools.
    const QStringList values = options_.values(name);
    if (values.isEmpty()) return std::nullopt;
    return values.first();
}

std::optional<qint64> Arguments::integer(const QString& name, qint64 min, qint64 max) const
{
    const std::optional<QString> text = option(name);
    if (!text) return std::nullopt;
    bool ok = false;
    const qint64 value = text->toLongLong(&ok);
    if (!ok || value < min || value > max)
        throw UsageError(
            QStringLiteral("--%1 takes a whole number from %2 to %3").arg(name).arg(min).arg(max));
    return value;
}
