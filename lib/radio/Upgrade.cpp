#include "radio/Upgrade.h"

#include <cstdio>

#include "core/Files.h"
#include "radio/VirtualRadioMark.h"

namespace km {

namespace {

constexpr int kBandRecordEntry = 3;
constexpr std::uint8_t kInfoItem = 3;
constexpr const char* kUpdatingText = "Updating Radio Software.  ";
constexpr const char* kUpdatingLastPieceText = "Updating Radio Software.   ";

std::string Formatted(const char* format, std::string_view text) {
    std::array<char, 160> buffer{};
    std::snprintf(buffer.data(), buffer.size(), format, std::string(text).c_str());
    return buffer.data();
}

}  // namespace

std::optional<DownloadCode> ReadDownloadCode(const std::filesystem::path& path, Person& person) {
    const auto bytes = ReadFileBytes(path, kOverlayFileLimit + 1);
    if (!bytes) {
        person.Error(kCodeFileNotFoundText);
        return std::nullopt;
    }
    CodeFileCheck check = InspectCodeFile(*bytes);
    if (!check.image) {
        // The Download button words the missing description its own way.
        person.Error(check.refusal == kNoDescriptionText ? kNoDescriptionDownloadText
                                                         : check.refusal);
        return std::nullopt;
    }
    auto& image = check.image;
    const auto type = CodeTypeOf(image->description.codeType);
    if (!type) {
        person.Error(kUnknownCodeFileText);
        return std::nullopt;
    }
    if (CodeTakesOverlay(*type) && !CheckOverlay(*image, person)) {
        return std::nullopt;
    }
    DownloadCode code{path, std::move(*image), *type, 0, 0};
    code.version = CodeVersionNumber(code.image.description.versionText);
    code.codeClass = SoftwareCodeClass(SoftwareCodeNumber(code.image.description.softwareCode));
    return code;
}

DownloadLabels EmptyDownloadLabels() {
    return {"No Software Description", "1xxxx", "Vxx.xx", "xx/xx/xxxx", "1xxxx", "Vxx.xx"};
}

DownloadLabels LabelsOf(const SoftwareDescription& description) {
    return {description.description, description.softwareCode,    description.versionText,
            description.date,        description.requiredRcpCode, description.requiredRcpVersion};
}

// ---- The upgrade steps ----

void Upgrade::BeginProgramming() {
    if (!code_) {
        host_.AbortOperation(AbortReason::Quiet);
        return;
    }
    if (VirtualRadioBuild(code_->image.description)) {
        NoteVirtualRadioFile(code_->path.filename().string());
    }
    GetProgress().SetProgressTotal(static_cast<int>((code_->image.codeLength - 1) / 128 + 3));
    ThenIdentify(nullptr);
    ThenDo([this] { return CheckRadio(); });
}

bool Upgrade::CheckRadio() {
    if (const auto refusal =
            CodeCompatibilityRefusal(code_->image.description.codeType, host_.Identity())) {
        host_.GetPerson().Error(*refusal);
        host_.AbortOperation(AbortReason::Quiet);
        return false;
    }
    IdBuffer().Fill(0);
    ThenInfo(kInfoItem, "Identifying Radio. ");
    ThenReadProgrammingFit([this] { return CheckFit(); });
    return true;
}

void Upgrade::EndRefused(const char* text) {
    host_.FailWithMessage(text);
    host_.GetWorkspace().scratch.Fill(0);
    if (onEnded) {
        onEnded(true);
    }
}

bool Upgrade::CheckFit() {
    const std::uint8_t codeType = code_->image.description.codeType;
    if (OlderSoftwareRefused(host_.Identity(), code_->version, codeType)) {
        EndRefused(kOlderSoftwareText);
        return false;
    }
    area_ = Entry(code_->type.fitEntry);
    const std::size_t slots = CodeTakesOverlay(code_->type) ? CodePiecesWritten(code_->type) + 1
                                                            : CodePiecesWritten(code_->type);
    const FitEntry band = Entry(kBandRecordEntry);
    if (!CodeAreaUsable(area_) || !BlockUsable(area_.block, slots * kCodeSlotBlocks) ||
        !BlockUsable(band.block)) {
        EndRefused(kFitErrorText);
        return false;
    }
    ThenRead(band.block, kBandRecordSize, IdBuffer().Region(0, kBandRecordSize),
             "Checking Hardware Option Flags. ");
    ThenDo([this] { return CheckHardware(); });
    return true;
}

bool Upgrade::CheckHardware() {
    const auto record = IdBuffer().Region(0, ReadBytes());
    // Only the hardware option flags are wanted here: the radio's band is compared with itself.
    const std::uint16_t radioBand = record.size() >= kBandRecordSize
                                        ? static_cast<std::uint16_t>((record[8] << 8) | record[9])
                                        : 0;
    static_cast<void>(CheckBand(record, radioBand, host_.Identity()));
    if (const auto refusal = PortableCodeRefusal(code_->image.description.codeType,
                                                 code_->codeClass, host_.Identity())) {
        host_.AbortOperation(AbortReason::Quiet);
        host_.GetPerson().Error(*refusal);
        return false;
    }
    if (!VirtualRadioFilesAllowed()) {
        return false;
    }
    QueueCode();
    return true;
}

void Upgrade::QueueCode() {
    const WriteRegions regions = LoadCodeImage(code_->image, Scratch());
    ThenErase(area_.sector, "Erasing Code Sector. (3 Seconds)");
    const std::size_t pieces = CodePiecesWritten(code_->type);
    for (std::size_t piece = 0; piece < pieces; ++piece) {
        const bool last = piece == 3;
        ThenWriteScratch(static_cast<std::uint16_t>(area_.block + piece * kCodeSlotBlocks),
                         regions.WriteRegionLength[piece], piece * kCodePieceSize,
                         last ? kUpdatingLastPieceText : kUpdatingText);
    }
    if (CodeTakesOverlay(code_->type)) {
        ThenDo([this] { return QueueOverlay(); });
    }
    ThenDo([this] { return Finish(); });
}

bool Upgrade::QueueOverlay() {
    const OverlayParse overlay = ParseOverlay(code_->image.fileBytes);
    if (overlay.outcome != OverlayOutcome::Built) {
        return true;
    }
    // The overlay is counted afresh from here: the gauge reads 0 % through the overlay erase
    // instead of standing full from the code written before it.
    StartCounting(kOverlayProgressTotal);
    ThenErase(static_cast<std::uint8_t>(area_.sector + 1),
              "Erasing Code Overlay Sector. (3 Seconds)");
    ThenDo([this, image = overlay.image] {
        Scratch().Write(0, image);
        return true;
    });
    ThenWriteScratch(static_cast<std::uint16_t>(area_.block + kOverlayBlockOffset),
                     kOverlayWriteSize, 0, "Updating Radio's Overlay Software");
    return true;
}

std::string Upgrade::CompletedDetail() const {
    return code_ ? CodeKindInWords(code_->type) + " " + code_->image.description.versionText
                 : std::string();
}

bool Upgrade::Finish() {
    // The closing message goes out and the port closes behind it whatever the answer; another
    // download opens it again.
    Complete();
    const bool another = host_.GetPerson().Ask(kDownloadAnotherQuestion) == Answer::Yes;
    if (!another) {
        host_.GetWorkspace().scratch.Fill(0);
    }
    if (onEnded) {
        onEnded(!another);
    }
    return false;
}

bool StartDownload(RadioOperations& operations, const std::filesystem::path& path) {
    if (operations.State().CommsBusy) {
        return false;
    }
    Person& person = operations.GetPerson();
    auto code = ReadDownloadCode(path, person);
    if (!code) {
        // A file gone since it was chosen, or no longer usable: the port is closed and nothing
        // starts.
        operations.Link().CloseRadioPort();
        return false;
    }
    const std::string_view kind = code->type.questionKindText;
    if (person.Ask(Formatted(kUpgradeQuestionFormat, kind)) != Answer::Yes) {
        return false;
    }
    const std::string caption = Formatted("Load %s Software", code->type.kindText);
    operations.SoftwareUpgrade().SetCode(std::move(*code));
    return operations.BeginCommand(OperationKind::UpgradeSoftware, caption, "Getting Radio Data");
}

}  // namespace km
