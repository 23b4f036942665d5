#include "conflict_resolver.h"

#include "file_error.h"

ConflictResolver::ConflictResolver(ConflictHandler ask) : ask_(std::move(ask)) {}

ConflictResolver ConflictResolver::always(ConflictAnswer answer)
{
    ConflictResolver resolver;
    resolver.fixed_ = answer;
    return resolver;
}

ConflictResolver ConflictResolver::askingThrough(ConflictHandler ask) const
{
    ConflictResolver resolver(std::move(ask));
    resolver.fixed_ = fixed_;
    resolver.remembered_ = remembered_;
    return resolver;
}

ConflictAnswer ConflictResolver::resolve(const NameConflict& conflict)
{
    if (fixed_) {
        if (*fixed_ == ConflictAnswer::Merge && !conflict.canMerge())
            return ConflictAnswer::KeepBoth;
        return *fixed_;
    }
    std::optional<ConflictAnswer>& remembered =
        conflict.canMerge() ? remembered_->forFolders : remembered_->forOthers;
    {
        std::lock_guard lock(remembered_->mutex);
        if (remembered) return *remembered;
    }
    if (!ask_) throw FileError(FileError::Code::FileWriteFileExists, conflict.existing);
    const ConflictChoice choice = ask_(conflict);
    // Only two folders merge; anything else keeps what is there.
    if (choice.answer == ConflictAnswer::Merge && !conflict.canMerge())
        throw FileError(FileError::Code::FileWriteFileExists, conflict.existing);
    if (choice.applyToAll) {
        std::lock_guard lock(remembered_->mutex);
        remembered = choice.answer;
    }
    return choice.answer;
}
