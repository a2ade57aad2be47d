// SPDX-License-Identifier: MIT
// Only a precompiled header the program's libraries share is made from this
// target.
