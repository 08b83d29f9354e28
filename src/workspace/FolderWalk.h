#pragma once

#include <QString>

#include <functional>

namespace orva {

// Visits every entry below `root`, depth first, an entry before its contents,
// the entries of one folder in name order. Links are visited as entries but
// never followed; folders that cannot be opened are passed over; a folder met
// a second time (a bind mount looping back) is not entered again.
// `visit` gets the entry's full path and returns false to stop the walk.
// Returns false when the root itself cannot be listed.
bool walkFolder(const QString& root, const std::function<bool(const QString& path)>& visit);

} // namespace orva
