#include "image/JobFiles.h"

#include <algorithm>
#include <array>
#include <memory>
#include <utility>
#include <vector>

#include "core/Cp1252.h"
#include "core/Files.h"
#include "image/JobMarks.h"
#include "image/NetworkFile.h"
#include "image/PmrFormat.h"

namespace km {
namespace fs = std::filesystem;

namespace {

constexpr std::string_view kTrunkViewLabel = " TRUNK RADIO     ";
constexpr std::string_view kPmrViewLabel = " PMR RADIO       ";
constexpr std::size_t kCaptionNameWidth = 25;

constexpr std::string_view kOpenTrunkTitle = "Open - Job File";
constexpr std::string_view kOpenNetworkTitle = "Open - Network File";
constexpr std::string_view kOpenPmrTitle = "Open - PMR Job File";
constexpr std::string_view kSaveTrunkTitle = "Save As - Trunking Job File";
constexpr std::string_view kSaveNetworkTitle = "Save As - Network File";
constexpr std::string_view kSavePmrTitle = "Save As - PMR Job File";

constexpr std::string_view kTrunkExtension = ".tnk";
constexpr std::string_view kPmrExtension = ".pmr";
constexpr std::string_view kNetworkExtension = ".nwk";
constexpr std::string_view kCodeExtension = ".bin";
constexpr std::string_view kCsvExtension = ".csv";

// The extensions of the other kinds of file, which a Save As dialog must not propose.
std::array<std::string_view, 4> ForeignExtensions(JobView view) {
    switch (view) {
        case JobView::Trunk:
            return {kCodeExtension, kPmrExtension, kCsvExtension, kNetworkExtension};
        case JobView::Network:
            return {kCodeExtension, kPmrExtension, kCsvExtension, kTrunkExtension};
        case JobView::Pmr:
            break;
    }
    return {kCodeExtension, kTrunkExtension, kCsvExtension, kNetworkExtension};
}

bool HasForeignExtension(JobView view, const std::string& name) {
    const auto foreign = ForeignExtensions(view);
    return std::any_of(foreign.begin(), foreign.end(),
                       [&name](std::string_view ext) { return ExtensionIs(name, ext); });
}

std::string Upper(std::string_view text) {
    std::string upper(text);
    std::transform(upper.begin(), upper.end(), upper.begin(), [](unsigned char c) {
        return static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    });
    return upper;
}

std::size_t CountCharacters(std::string_view utf8) {
    return static_cast<std::size_t>(std::count_if(utf8.begin(), utf8.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

std::string DisplayName(const fs::path& file) {
    return file.filename().string();
}

// Reads a whole image from `file`: nullptr when the file cannot be opened or is shorter than the
// image. A longer file is read only up to the image size.
template <typename Image>
std::unique_ptr<Image> ReadWholeImage(const fs::path& file, bool* tooShort = nullptr) {
    const auto bytes = ReadFileBytes(file, Image::kSize);
    if (!bytes || bytes->size() < Image::kSize) {
        if (tooShort != nullptr) {
            *tooShort = bytes.has_value();
        }
        return nullptr;
    }
    auto image = std::make_unique<Image>();
    image->Write(0, *bytes);
    return image;
}

// A job file of a fixed size: a file that cannot be opened changes nothing and shows nothing; a
// short one would mix with the previous job, so it is refused with a message.
template <typename Image>
std::unique_ptr<Image> ReadJobFile(const fs::path& file, Person& person) {
    bool tooShort = false;
    auto image = ReadWholeImage<Image>(file, &tooShort);
    if (tooShort) {
        person.Error(FileTooShortText(DisplayName(file)));
    }
    return image;
}

bool InVersionWord(std::size_t offset) {
    return offset == kVersionWordOffset || offset == kVersionWordOffset + 1;
}

bool InNetworkFile(std::size_t offset) {
    return (offset >= trunk::NetworkFileStart(0) &&
            offset < trunk::NetworkFileStart(0) + NetworkImage::kSize) ||
           (offset >= trunk::NetworkFileStart(1) &&
            offset < trunk::NetworkFileStart(1) + NetworkImage::kSize);
}

// Compares an image with the bytes of a file, all but the version word and the bytes `ignored`
// names; bytes missing from the file count as zero.
bool DiffersFromFile(std::span<const std::uint8_t> image, const fs::path& file,
                     bool (*ignored)(std::size_t) = nullptr) {
    const auto saved = ReadFileBytes(file, image.size()).value_or(std::vector<std::uint8_t>{});
    for (std::size_t i = 0; i < image.size(); ++i) {
        if (InVersionWord(i) || (ignored != nullptr && ignored(i))) {
            continue;
        }
        const std::uint8_t savedByte = i < saved.size() ? saved[i] : 0;
        if (image[i] != savedByte) {
            return true;
        }
    }
    return false;
}

// The PMR template, or nullptr when it is missing or not whole.
std::unique_ptr<PmrJobImage> ReadPmrTemplateIn(const fs::path& workDir) {
    return ReadWholeImage<PmrJobImage>(FindFileIgnoringCase(workDir, kPmrTemplateName));
}

}  // namespace

bool UnpackPmrRadioRead(Workspace& workspace, Person& person, const fs::path& workDir) {
    const std::uint16_t version = workspace.scratch.U16BE(pmr::kFormatVersion);
    const bool needsTemplate = version == kPmrFormat200 || version == kPmrFormat201;
    const auto templ = needsTemplate ? ReadPmrTemplateIn(workDir) : nullptr;
    switch (UnpackPmrRead(workspace.scratch, templ.get(), workspace.pmr)) {
        case PmrFormatStatus::TemplateMissing:
            person.Warn(kPmrTemplateMissing);
            return false;
        case PmrFormatStatus::Unsupported:
        case PmrFormatStatus::TooShort:
            person.Warn(kUnableToReadConfiguration);
            return false;
        case PmrFormatStatus::Current:
        case PmrFormatStatus::Converted:
            break;
    }
    workspace.ZoneReload = true;
    return true;
}

std::string CannotWriteFileText(std::string_view fileName) {
    return "Cannot write file " + std::string(fileName) + ".";
}

std::string FileTooShortText(std::string_view fileName) {
    return "Cannot read file " + std::string(fileName) +
           ".\nThe file is shorter than a complete job file.";
}

JobDialogSetup OpenDialogSetup(JobView view, const MainState& state) {
    switch (view) {
        case JobView::Trunk:
            return {kOpenTrunkTitle, "*.tnk", 1, state.JobFolder};
        case JobView::Network:
            return {kOpenNetworkTitle, "*.nwk", 3, kNetworksFolder};
        case JobView::Pmr:
            break;
    }
    return {kOpenPmrTitle, "*.pmr", 2, state.JobFolder};
}

JobDialogSetup SaveDialogSetup(JobView view, const MainState& state) {
    switch (view) {
        case JobView::Trunk:
            return {kSaveTrunkTitle, "*.tnk", 1, state.JobFolder};
        case JobView::Network:
            return {kSaveNetworkTitle, "*.nwk", 3, kNetworksFolder};
        case JobView::Pmr:
            break;
    }
    return {kSavePmrTitle, "*.pmr", 2, state.JobFolder};
}

bool ExtensionIs(const fs::path& file, std::string_view lowerCaseExtension) {
    const std::string ext = file.extension().string();
    return ext == lowerCaseExtension || ext == Upper(lowerCaseExtension);
}

std::string WindowCaption(int imageKind, std::string_view currentJobFileName) {
    std::string caption = kProgramVersionText;
    if (imageKind == kImageNone) {
        return caption;
    }
    const fs::path path{std::string(currentJobFileName)};
    std::string namePart(currentJobFileName);
    std::size_t blanks = kCaptionNameWidth;
    if (path.has_parent_path()) {
        namePart = DisplayName(path);
        blanks = kCaptionNameWidth - std::min(kCaptionNameWidth, CountCharacters(namePart));
    }
    caption += "<" + namePart + ">" + std::string(blanks, ' ');
    caption += imageKind == kImagePmr ? kPmrViewLabel : kTrunkViewLabel;
    return caption;
}

std::array<std::uint8_t, 16> NetworkNameField(const fs::path& fileName) {
    std::array<std::uint8_t, network::kNameWidth> field{};
    field.fill(' ');
    const std::string raw = Utf8ToCp1252(DisplayName(fileName));
    const std::size_t n = std::min(raw.size(), network::kNameCharacters);
    std::copy_n(raw.begin(), n, field.begin());
    return field;
}

JobFiles::JobFiles(Workspace& workspace, MainState& state, Person& person, fs::path workDir)
    : ws_(workspace), state_(state), person_(person), workDir_(std::move(workDir)) {}

int JobFiles::CurrentSlot() const {
    // Network 2 only when chosen; any other selector value means Network 1.
    return state_.NetworkSelector == 1 ? 1 : 0;
}

fs::path JobFiles::FileBeside(const char* name) const {
    return FindFileIgnoringCase(workDir_, name);
}

std::unique_ptr<TrunkJobImage> JobFiles::ReadTrunkTemplate() {
    auto templ = ReadWholeImage<TrunkJobImage>(FileBeside(kTrunkTemplateName));
    if (!templ) {
        person_.Warn(kTrunkTemplateMissing);
    }
    return templ;
}

std::unique_ptr<PmrJobImage> JobFiles::ReadPmrTemplate(bool warn) {
    auto templ = ReadPmrTemplateIn(workDir_);
    if (!templ && warn) {
        person_.Warn(kPmrTemplateMissing);
    }
    return templ;
}

void JobFiles::WriteLastSaved(const char* name, std::span<const std::uint8_t> bytes) {
    if (!WriteFileAtomically(FileBeside(name), bytes)) {
        person_.Error(CannotWriteFileText(name));
    }
}

bool JobFiles::ConfirmReplacingJob(JobView view) {
    bool holdsJob = false;
    switch (view) {
        case JobView::Trunk:
            holdsJob = state_.TrunkJobLoaded && state_.BandSelected != 0;
            break;
        case JobView::Network:
            holdsJob = state_.TrunkJobLoaded;
            break;
        case JobView::Pmr:
            holdsJob = state_.PmrJobLoaded && state_.BandSelected != 0;
            break;
    }
    return !holdsJob || person_.Ask(kDestroyConfigurationQuestion, Buttons::YesNo) == Answer::Yes;
}

bool JobFiles::NewJob(JobView view) {
    if (view == JobView::Pmr) {
        const auto templ = ReadPmrTemplate(true);
        if (!templ) {
            return false;
        }
        ws_.pmr = *templ;
        ws_.ZoneReload = true;
        WriteLastSaved(kLastSavedPmrName, ws_.pmr.Bytes());
        state_.ImageKind = kImagePmr;
        state_.RadioModeMask = 1;
        state_.PmrJobLoaded = true;
    } else {
        const auto templ = ReadTrunkTemplate();
        if (!templ) {
            return false;
        }
        ws_.trunk = *templ;
        WriteLastSaved(kLastSavedTrunkName, ws_.trunk.Bytes());
        state_.ImageKind = view == JobView::Network ? kImageNetwork : kImageTrunk;
        state_.RadioModeMask = 2;
        state_.TrunkJobLoaded = true;
        TakeNetworkBaseline();
    }
    state_.RadioTypeMask = 16;
    state_.Network1Name = kNetworkNotDefined;
    state_.Network2Name = kNetworkNotDefined;
    state_.CurrentJobFileName.clear();
    return true;
}

JobOpenOutcome JobFiles::Open(const std::optional<fs::path>& chosen) {
    if (!chosen) {
        state_.CurrentJobFileName.clear();
        return JobOpenOutcome::Nothing;
    }
    const fs::path& file = *chosen;
    if (ExtensionIs(file, kTrunkExtension)) {
        return OpenTrunk(file);
    }
    if (ExtensionIs(file, kNetworkExtension)) {
        return OpenNetwork(file);
    }
    if (ExtensionIs(file, kPmrExtension)) {
        return OpenPmr(file);
    }
    // A file of another kind says so and leaves the job on screen as it was.
    person_.Error(ExtensionIs(file, kCodeExtension) ? kProgramCodeFileError : kInvalidFileError);
    return JobOpenOutcome::Nothing;
}

JobOpenOutcome JobFiles::OpenTrunk(const fs::path& file) {
    const auto image = ReadJobFile<TrunkJobImage>(file, person_);
    if (!image || !OpenAnyway(JobKind::Trunk, image->Bytes(), DisplayName(file), person_)) {
        return JobOpenOutcome::Nothing;
    }
    ws_.trunk = *image;
    WriteLastSaved(kLastSavedTrunkName, ws_.trunk.Bytes());
    state_.TrunkJobLoaded = true;
    RememberJobFile(file);
    return JobOpenOutcome::TrunkLoaded;
}

bool JobFiles::LevelOpens(const fs::path& file) const {
    return !ExtensionIs(file, kNetworkExtension) || state_.UserLevelMask == 4 ||
           state_.UserLevelMask == 8;
}

JobOpenOutcome JobFiles::OpenNetwork(const fs::path& file) {
    if (!LevelOpens(file)) {
        return JobOpenOutcome::Nothing;
    }
    // The same file checks as the Radio Type form's loads: exact size, known scheme, a band.
    const auto image = ReadNetworkFile(file, person_);
    if (!image || !CheckNetworkFile(*image, person_)) {
        return JobOpenOutcome::Nothing;
    }
    const bool fromTemplate = !state_.TrunkJobLoaded;
    if (fromTemplate) {
        // Without a trunk job the network needs a whole job around it: start from the template.
        const auto templ = ReadTrunkTemplate();
        if (!templ) {
            return JobOpenOutcome::Nothing;
        }
        ws_.trunk = *templ;
        WriteLastSaved(kLastSavedTrunkName, ws_.trunk.Bytes());
    }
    ws_.network = *image;
    ws_.trunk.Write(trunk::NetworkFileStart(CurrentSlot()), ws_.network.Bytes());
    state_.TrunkJobLoaded = true;
    state_.CurrentJobFileName = file.string();
    openNetworkSlot_ = CurrentSlot();
    // The other slot keeps its edits, and so its baseline, unless the template replaced it.
    if (fromTemplate) {
        TakeNetworkBaseline();
    } else {
        TakeSlotBaseline(CurrentSlot());
    }
    return JobOpenOutcome::NetworkLoaded;
}

namespace {

// A PMR job of a later program: a radio mode and a format number above the ones this program
// reads, but not far above (random bytes seldom look like that).
bool LaterPmrFormat(std::span<const std::uint8_t> bytes) {
    constexpr std::uint16_t kLastFormatConsidered = 299;
    const std::uint16_t version = PmrFileVersion(bytes);
    return version > pmr::kCurrentFormat && version <= kLastFormatConsidered &&
           bytes.size() > pmr::kRadioMode && bytes[pmr::kRadioMode] < kRadioModeCount;
}

}  // namespace

JobOpenOutcome JobFiles::OpenPmr(const fs::path& file) {
    const auto bytes = ReadFileBytes(file, PmrJobImage::kSize);
    if (!bytes) {
        return JobOpenOutcome::Nothing;
    }
    // Everything is read and checked before the job on screen is let go.
    if (LaterPmrFormat(*bytes)) {
        person_.Warn(kUnableToReadConfiguration);
        return JobOpenOutcome::Nothing;
    }
    if (!OpenAnyway(JobKind::Pmr, *bytes, DisplayName(file), person_)) {
        return JobOpenOutcome::Nothing;
    }
    const std::uint16_t version = PmrFileVersion(*bytes);
    const bool needsTemplate = version == kPmrFormat200 || version == kPmrFormat201;
    const auto templ = needsTemplate ? ReadPmrTemplate(false) : nullptr;
    auto converted = std::make_unique<PmrJobImage>();
    switch (ConvertPmrFile(*bytes, templ.get(), *converted)) {
        case PmrFormatStatus::TooShort:
            person_.Error(FileTooShortText(DisplayName(file)));
            return JobOpenOutcome::Nothing;
        case PmrFormatStatus::TemplateMissing:
            person_.Warn(kPmrTemplateMissing);
            return JobOpenOutcome::Nothing;
        case PmrFormatStatus::Unsupported:
            // A file of no format this program knows, opened all the same: its bytes as they
            // are, as a trunk job without its marks is taken.
            if (bytes->size() < PmrJobImage::kSize) {
                person_.Error(FileTooShortText(DisplayName(file)));
                return JobOpenOutcome::Nothing;
            }
            converted->Write(0, *bytes);
            break;
        case PmrFormatStatus::Current:
        case PmrFormatStatus::Converted:
            break;
    }
    // LastSaved.pmr holds the file as read, before the conversion; an older, shorter file is
    // filled out with the template.
    auto asRead = templ ? std::make_unique<PmrJobImage>(*templ) : std::make_unique<PmrJobImage>();
    asRead->Write(0, *bytes);
    WriteLastSaved(kLastSavedPmrName, asRead->Bytes());
    ws_.pmr = *converted;
    ws_.ZoneReload = true;
    state_.PmrJobLoaded = true;
    RememberJobFile(file);
    return JobOpenOutcome::PmrLoaded;
}

void JobFiles::RememberJobFile(const fs::path& file) {
    state_.CurrentJobFileName = file.string();
    state_.JobFolder = file.parent_path().string();
}

bool JobFiles::MaySave(JobView view) {
    const bool loaded = view == JobView::Pmr ? state_.PmrJobLoaded : state_.TrunkJobLoaded;
    if (!loaded) {
        person_.Error(kCannotSaveNoJob);
    }
    return loaded;
}

std::string JobFiles::ProposeSaveName(JobView view, std::string& openDialogFileName) {
    if (HasForeignExtension(view, openDialogFileName)) {
        openDialogFileName.clear();
        state_.CurrentJobFileName.clear();
    }
    if (view == JobView::Network) {
        return NetworkSaveProposal();
    }
    if (openDialogFileName.empty()) {
        return {};
    }
    std::string proposal = state_.CurrentJobFileName;
    if (HasForeignExtension(view, proposal)) {
        proposal.clear();
        state_.CurrentJobFileName.clear();
    }
    return proposal;
}

// A network is saved under the name of the network being edited, never under the file of the
// other slot's network (Enter in the dialog would overwrite it): the file opened or saved into
// this slot, otherwise the name the network carries (its file name when it was saved, up to 14
// characters) in the networks folder.
std::string JobFiles::NetworkSaveProposal() const {
    const int slot = CurrentSlot();
    if (openNetworkSlot_ == slot && ExtensionIs(state_.CurrentJobFileName, kNetworkExtension)) {
        return state_.CurrentJobFileName;
    }
    std::string carried = NetworkNameOfSlot(ws_.trunk, slot);
    carried.erase(carried.find_last_not_of(' ') + 1);
    if (!NetworkPresent(ws_.trunk, slot) || !ExtensionIs(carried, kNetworkExtension) ||
        carried.find_first_of("/\\") != std::string::npos) {
        return {};
    }
    return (workDir_ / kNetworksFolder / carried).string();
}

bool JobFiles::Save(JobView view, const fs::path& chosen) {
    switch (view) {
        case JobView::Trunk:
            return SaveJobImage(chosen, ws_.trunk.Bytes(), kLastSavedTrunkName);
        case JobView::Pmr:
            return SaveJobImage(chosen, ws_.pmr.Bytes(), kLastSavedPmrName);
        case JobView::Network:
            break;
    }
    return SaveNetwork(chosen);
}

bool JobFiles::SaveJobImage(const fs::path& chosen, std::span<const std::uint8_t> bytes,
                            const char* lastSavedName) {
    if (!WriteFileAtomically(chosen, bytes)) {
        person_.Error(CannotWriteFileText(DisplayName(chosen)));
        return false;
    }
    RememberJobFile(chosen);
    WriteLastSaved(lastSavedName, bytes);
    return true;
}

bool JobFiles::SaveNetwork(const fs::path& chosen) {
    const std::size_t slotFile = trunk::NetworkFileStart(CurrentSlot());
    NetworkImage named;
    named.Write(0, ws_.trunk.Region(slotFile, NetworkImage::kSize));
    named.Write(network::kName, NetworkNameField(chosen));
    if (!WriteFileAtomically(chosen, named.Bytes())) {
        person_.Error(CannotWriteFileText(DisplayName(chosen)));
        return false;
    }
    ws_.network = named;
    ws_.trunk.Write(slotFile, named.Bytes());
    state_.CurrentJobFileName = chosen.string();
    openNetworkSlot_ = CurrentSlot();
    TakeSlotBaseline(CurrentSlot());
    return true;
}

bool JobFiles::HasUnsavedChanges(JobView view) {
    switch (view) {
        case JobView::Trunk:
            return DiffersFromFile(ws_.trunk.Bytes(), FileBeside(kLastSavedTrunkName));
        case JobView::Pmr:
            return DiffersFromFile(ws_.pmr.Bytes(), FileBeside(kLastSavedPmrName));
        case JobView::Network:
            break;
    }
    return NetworkChanged(0) || NetworkChanged(1);
}

bool JobFiles::TrunkJobChangedBesideNetworks() {
    return DiffersFromFile(ws_.trunk.Bytes(), FileBeside(kLastSavedTrunkName), InNetworkFile);
}

bool JobFiles::NetworkChanged(int selector) const {
    const auto current = ws_.trunk.Region(trunk::NetworkFileStart(selector), NetworkImage::kSize);
    const auto& baseline = networkBaselines_.at(static_cast<std::size_t>(selector));
    return !std::equal(current.begin(), current.end(), baseline.Bytes().begin());
}

void JobFiles::TakeNetworkBaseline() {
    TakeSlotBaseline(0);
    TakeSlotBaseline(1);
}

void JobFiles::TakeSlotBaseline(int selector) {
    networkBaselines_.at(static_cast<std::size_t>(selector))
        .Write(0, ws_.trunk.Region(trunk::NetworkFileStart(selector), NetworkImage::kSize));
}

bool JobFiles::CopyNW1ToNW2() {
    if (!NetworkPresent(ws_.trunk, 1)) {
        person_.Warn(kCannotCopyNetworkWarning);
        return false;
    }
    ws_.trunk.Write(trunk::SlotStart(1),
                    ws_.trunk.Region(trunk::SlotStart(0), trunk::kJobPartSize));
    return true;
}

void JobFiles::RefreshNetworkNames() {
    auto nameOf = [this](int slot) {
        return NetworkPresent(ws_.trunk, slot) ? NetworkNameOfSlot(ws_.trunk, slot)
                                               : std::string(kNetworkNotDefined);
    };
    state_.Network1Name = nameOf(0);
    state_.Network2Name = nameOf(1);
}

bool JobFiles::UnpackPmrRadioRead() {
    return km::UnpackPmrRadioRead(ws_, person_, workDir_);
}

}  // namespace km
