#include "ui/type_ahead.h"

QString TypeAhead::add(const QString& typed)
{
    if (typed.isEmpty() || !typed.at(0).isPrint()) return {};
    if (!isTyping()) text_.clear();
    text_ += typed;
    since_.start();
    return text_;
}

bool TypeAhead::isTyping() const
{
    return since_.isValid() && since_.elapsed() < pauseMs && !text_.isEmpty();
}

void TypeAhead::reset()
{
    text_.clear();
    since_.invalidate();
}
