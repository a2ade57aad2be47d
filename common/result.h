// SPDX-License-Identifier: MIT
#pragma once
// What a step that can fail hands back: success, or a Failure that says what
// went wrong (a kind, the file, the system's own words) and what was being
// done. No text for the user is made here: ResultText (common/failuretext.h)
// is the one place that words a failure.

#include "core/refusal.h"

#include <optional>
#include <string>
#include <utility>

namespace velmix {

enum class FailureKind
{
    Refused,       // the target is not a regular file or is another user's link: untouched
    OpenFailed,    // the file could not be opened, made or read whole
    WriteFailed,   // a write or the final replace failed; an old file stays as it was
    FormatError,   // the picture cannot be written in that format (empty, too large)
    StackOverflow, // the encoder could not set itself up
    BadOption,     // an option value out of range; nothing was written
    Stopped,       // the call was stopped (out of memory and the like)
    NotOpened,     // nothing showed the document; detail holds the opener's number
    Unknown,       // an encoder code with no meaning of its own; detail holds it
    ReadOnly,      // a gradient shipped with the program: never renamed or removed
    NotUnderstood, // a file read, but no gradient in it; the refusal says what was not understood
    Changed,       // a library file is no longer what was listed: left alone, the list read again
};

// What was being done: it decides the first line of the message.
enum class FailedTask
{
    SaveFile, // a file of no particular type
    SaveBmp,
    SaveJpeg,
    SavePng,
    SaveSvg,
    SaveCss,
    Copy, // to the clipboard
    WriteSettings,
    ShowHelp,
    // The gradient library's own changes.
    AddGradient,
    RenameGradient,
    RemoveGradient,
    ImportGradient,
};

struct Failure
{
    Failure(FailureKind k, std::string p = {}, std::string d = {},
            FailedTask t = FailedTask::SaveFile)
        : kind(k), path(std::move(p)), detail(std::move(d)), task(t)
    {
    }
    // A reader's or the library's refusal, worded where the failure is.
    static Failure Refusing(FailureKind k, std::string p, Refusal r, FailedTask t)
    {
        Failure f(k, std::move(p), {}, t);
        f.refusal = std::move(r);
        return f;
    }

    FailureKind kind;
    std::string path;   // the file concerned (UTF-8), if any
    std::string detail; // the system's description (UTF-8), if any
    FailedTask task;
    Refusal refusal; // when set, what the message says in place of detail
};

class [[nodiscard]] Result
{
public:
    Result() = default;
    Result(Failure failure) : m_failure(std::move(failure)) {}

    bool ok() const { return !m_failure; }
    // Only for a result that is not ok().
    const Failure& failure() const { return *m_failure; }
    // The same result, as the failure of `task`: the caller knows what the
    // lower layer was doing it for.
    Result during(FailedTask task) &&
    {
        if (m_failure)
            m_failure->task = task;
        return std::move(*this);
    }

private:
    std::optional<Failure> m_failure;
};

} // namespace velmix
