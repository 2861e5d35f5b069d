#pragma once
// The encode list of the Encode/Decode form for the Edit menu: the selected encodes copied (as
// CSV rows, and exactly for another job of this program) and encodes pasted by number, one undo
// step.

#include <QListWidget>
#include <functional>
#include <memory>
#include <vector>

#include "core/Person.h"
#include "forms/Undo.h"
#include "pmr/Scl2Map.h"

namespace km {

class EncodeRowsClipboard : public undo::RowClipboard {
  public:
    // `encodes` is the form's list in number order; `show` shows it with the given entries
    // selected.
    EncodeRowsClipboard(QListWidget& view, QObject& form, std::vector<pmr::EncodeEntry>& encodes,
                        Person& person, std::function<void(const std::vector<std::size_t>&)> show);

    std::unique_ptr<QMimeData> CopyRows() const override;
    void PasteRows(const QMimeData& data) override;

  private:
    QListWidget& view_;
    QObject& form_;
    std::vector<pmr::EncodeEntry>& encodes_;
    Person& person_;
    std::function<void(const std::vector<std::size_t>&)> show_;
};

}  // namespace km
