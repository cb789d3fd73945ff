#pragma once
// The mass-upload dialog's two lists: the candidate files of the preset folder and the
// upload list, whose row i goes into processor slot i. Plain, so every button rule is
// testable without a window.
#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

namespace tavelo {

inline constexpr std::size_t kMassUploadMaxRows = 10;

class MassUploadList {
 public:
  // Candidates: the folder's parameter files as the PC preset list shows them.
  void LoadCandidates(const std::filesystem::path& folder);
  void SetCandidates(std::vector<std::string> names) { candidates_ = std::move(names); }
  const std::vector<std::string>& Candidates() const { return candidates_; }

  // Add: appends candidate `index` unless the list is full or nothing is selected (-1).
  bool Add(int index);
  // Add All: the list becomes the first ten candidates.
  void AddAll();
  // Del: removes row `row`; the rows after it move up and are renumbered.
  bool Delete(int row);

  const std::vector<std::string>& Rows() const { return rows_; }
  // The number column: "1" for the first row.
  static std::string RowNumber(std::size_t row) { return std::to_string(row + 1); }

 private:
  std::vector<std::string> candidates_;
  std::vector<std::string> rows_;
};

}  // namespace tavelo
