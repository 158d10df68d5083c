#pragma once
// Web hosts the program opens. The statistics site carries the pages of the
// default analysis links; the operator's site publishes the results.
namespace kazuban::config {

inline constexpr const char* kStatisticsHost = "www.kazuban-stats.example";
inline constexpr const char* kOperatorHost = "www.takarakuji-official.jp";
inline constexpr const char* kMakerHomePage = "http://www.kazuban-stats.example/kazuban/";

}  // namespace kazuban::config
