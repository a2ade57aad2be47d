// SPDX-License-Identifier: MIT
#pragma once
// The one place a failure becomes a message: the save, copy and settings
// writers, the encoder bridge and the help command all word what they hand
// back here, in the user's language.

#include "common/result.h"

#include <QString>

namespace velmix {

// The message for `result`: the first line from what was being done (or
// what went wrong), then CR LF and the system's description when there is
// one; a bitmap's failure is that description alone, and a help page that
// could not be shown is named by its path. A success reads "成功しました。"
// (the bridge's code 0).
QString ResultText(const Result& result);

// What went wrong, the line under the first: a refusal worded (the
// settings file's in the words its message has always had) or the
// system's description.
QString FailureDetail(const Failure& failure);

// A reader's refusal in one line: what was not read, quoting what the
// reader cut for it (a failure of reading carries one in place of its
// detail).
QString RefusalText(const Refusal& refusal);

} // namespace velmix
