// A camera's files killed at random moments while they are being saved: the
// settings file still loads and holds one whole save, never a mix of two or
// a damaged value; the mask and the reference picture hold one whole save.
#include <gtest/gtest.h>
#include <windows.h>

#include <random>
#include <string>
#include <vector>

#include "SaveSamples.h"
#include "framework/Handles.h"
#include "settings/IniFile.h"
#include "settings/SettingsSchema.h"
#include "tests/support/RunLength.h"
#include "tests/win/support/TestFiles.h"

namespace {

enum class Outcome { Old, New, Mixed, Damaged };

// The stored text of every saved key.
std::vector<std::string> SavedTexts(const std::string& path) {
    std::vector<std::string> texts;
    for (const settings::SettingEntry& entry : settings::SettingsTable()) {
        if (entry.write == settings::WriteFormat::NewFileOnly || entry.field.read == nullptr)
            continue;
        texts.push_back(GetIniString(entry.section, entry.key, "<absent>", path));
    }
    return texts;
}

std::vector<std::string> TextsOf(const SaveSample& sample) {
    TempFolder folder;
    const CameraFiles files(folder.path());
    SaveCamera(files, sample);
    return SavedTexts(files.settings);
}

Outcome Classify(const std::vector<std::string>& found, const std::vector<std::string>& oldTexts,
                 const std::vector<std::string>& newTexts) {
    bool anyOld = false, anyNew = false;
    for (size_t i = 0; i < found.size(); ++i) {
        const bool isOld = found[i] == oldTexts[i], isNew = found[i] == newTexts[i];
        if (!isOld && !isNew) return Outcome::Damaged;
        anyOld = anyOld || (isOld && !isNew);
        anyNew = anyNew || (isNew && !isOld);
    }
    if (anyOld && anyNew) return Outcome::Mixed;
    return anyNew ? Outcome::New : Outcome::Old;
}

// Whole-file outcome of the mask (compared with both samples' regions).
Outcome MaskOutcome(const CameraFiles& files) {
    settings::SettingsFile file;
    file.CreateSettingIni(files.settings);
    CameraSettings loaded;
    file.LoadSettingIni(loaded, kAllSections);
    RegionHandle region;
    if (!settings::LoadMask(files.mask, region, loaded.maskSize)) return Outcome::Damaged;
    const RECT oldRect = SampleOld().maskRect, newRect = SampleNew().maskRect;
    RegionHandle oldRegion(::CreateRectRgnIndirect(&oldRect));
    RegionHandle newRegion(::CreateRectRgnIndirect(&newRect));
    if (::EqualRgn(region.get(), oldRegion.get())) return Outcome::Old;
    if (::EqualRgn(region.get(), newRegion.get())) return Outcome::New;
    return Outcome::Damaged;
}

Outcome PictureOutcome(const CameraFiles& files) {
    std::vector<uint8_t> pixels(settings::kReferencePixelBytes, 0);
    if (!settings::LoadReferencePicture(files.picture,
                                        settings::ReferencePixels(pixels.data(), pixels.size()))) {
        return Outcome::Damaged;
    }
    const uint8_t first = pixels[0];
    for (const uint8_t b : pixels) {
        if (b != first) return Outcome::Mixed;
    }
    if (first == SampleOld().pictureByte) return Outcome::Old;
    return first == SampleNew().pictureByte ? Outcome::New : Outcome::Damaged;
}

// Starts the save loop on the folder, waits for its first complete save,
// lets it run for `delay` ms and kills it without warning.
bool KillSaveLoopAfter(const std::string& folder, DWORD delay) {
    const std::string eventName = "TallyscopeSaveLoop-" + std::to_string(::GetCurrentProcessId());
    KernelHandle started(::CreateEventA(nullptr, TRUE, FALSE, eventName.c_str()));
    std::string command = "\"" TEST_PROBE_EXE "\" \"" + folder + "\" " + eventName;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!started || !::CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                      nullptr, &startup, &info)) {
        return false;
    }
    KernelHandle process(info.hProcess), thread(info.hThread);
    const HANDLE waitFor[] = {started.get(), process.get()};
    const bool running = ::WaitForMultipleObjects(2, waitFor, FALSE, 20000) == WAIT_OBJECT_0;
    if (running) ::Sleep(delay);  // the random moment of the kill, not a wait for a state
    ::TerminateProcess(process.get(), 9);
    return ::WaitForSingleObject(process.get(), 20000) == WAIT_OBJECT_0 && running;
}

}  // namespace

TEST(ReliabilitySaveKill, KilledSavesLeaveWholeOldOrNewValuesInEveryFile) {
    const std::vector<std::string> oldTexts = TextsOf(SampleOld());
    const std::vector<std::string> newTexts = TextsOf(SampleNew());
    ASSERT_EQ(oldTexts.size(), newTexts.size());
    ASSERT_NE(oldTexts, newTexts);

    const int runs = testsupport::ShortOrLong(12, 300);
    std::mt19937 random(20261206);
    std::uniform_int_distribution<DWORD> delay(0, 400);
    int settingsCount[4] = {}, maskCount[4] = {}, pictureCount[4] = {}, filesDisagree = 0;
    for (int run = 0; run < runs; ++run) {
        TempFolder folder;
        const CameraFiles files(folder.path());
        SaveCamera(files, SampleOld());
        ASSERT_TRUE(KillSaveLoopAfter(folder.path(), delay(random))) << "run " << run;

        const Outcome settings = Classify(SavedTexts(files.settings), oldTexts, newTexts);
        ++settingsCount[static_cast<int>(settings)];
        const Outcome mask = MaskOutcome(files), picture = PictureOutcome(files);
        ++maskCount[static_cast<int>(mask)];
        ++pictureCount[static_cast<int>(picture)];
        filesDisagree += mask != settings || picture != settings;
    }
    const std::string counts =
        "settings old/new/mixed/damaged " + std::to_string(settingsCount[0]) + "/" +
        std::to_string(settingsCount[1]) + "/" + std::to_string(settingsCount[2]) + "/" +
        std::to_string(settingsCount[3]) + ", files left from different saves " +
        std::to_string(filesDisagree);
    SCOPED_TRACE(counts);
    EXPECT_EQ(settingsCount[static_cast<int>(Outcome::Mixed)], 0);
    EXPECT_EQ(settingsCount[static_cast<int>(Outcome::Damaged)], 0);
    EXPECT_EQ(maskCount[static_cast<int>(Outcome::Damaged)], 0);
    EXPECT_EQ(pictureCount[static_cast<int>(Outcome::Mixed)], 0);
    EXPECT_EQ(pictureCount[static_cast<int>(Outcome::Damaged)], 0);
    // Kills landed in both halves of the loop, or the test proved little.
    EXPECT_GT(settingsCount[static_cast<int>(Outcome::New)], 0);
}
