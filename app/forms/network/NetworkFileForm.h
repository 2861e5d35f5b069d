#pragma once
// What the three forms of the Network view share: they edit the network file of the network slot
// chosen by NetworkSelector inside the trunk job, and label their controls with their rows'
// captions.

#include <QLabel>
#include <QString>
#include <span>

#include "fields/Field.h"
#include "forms/ConfigForm.h"
#include "forms/FieldBinder.h"
#include "tables/Tables.h"

namespace km {

class NetworkFileForm : public ConfigForm {
  public:
    using ConfigForm::ConfigForm;

  protected:
    // The trunk job that holds the slot, and where the slot's network file starts in it.
    std::span<std::uint8_t> Bytes() const { return workspace().trunk.Bytes(); }
    std::size_t Area() const {
        return tables::AreaStart(fields::Area::NetworkFile, fields::ImageId::Trunk,
                                 state().NetworkSelector)
            .value_or(0);
    }
    // Network offsets, whichever image holds the file.
    static constexpr fields::ImageId kOffsets = fields::ImageId::Network;

    static QString Caption(const fields::FieldRow& row) { return ToQString(row.caption); }
};

}  // namespace km
