// SPDX-License-Identifier: MIT
// Only the precompiled header the tests share is made from this target.
