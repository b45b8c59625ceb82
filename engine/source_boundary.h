// The path of a source file from listed to deleted, against a folder that
// other programs change under us: the file is claimed (opened once, never
// through a link or a pipe, held so that nobody else opens it) and read
// through that one descriptor. Once its table is in place, the name is moved
// aside to a hidden work name and the file is deleted only if that is still
// the very file that was read, unchanged; anything else goes back under its
// name, never over a newer delivery. What cannot be deleted is remembered, so
// that it is reported at every pass and not converted again.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/files/file_listing.h"
#include "platform/files/file_system.h"
#include "platform/text/codepage.h"
#include "platform/text/line_list.h"

// A source file claimed for conversion.
struct TSourceClaim {
    std::filesystem::path Original;  // where it was delivered
    std::filesystem::path Current;   // where it is now: Original, or the work name
    std::unique_ptr<platform::SourceFile> File;
    platform::FileIdentity Identity;  // as it was read
    bool Held = false;                // nobody else could open it while we had it

    // Whether another program tried to open the file while we hold it: it
    // waits for us to let go. Never where no hold could be taken.
    bool Wanted() const { return Held && File && !File->HeldAlone(); }
};

class TSourceBoundary {
  public:
    // singlePass: no later pass will see a file again, so a file another
    // user may still be writing is judged by the age of its time alone.
    TSourceBoundary(platform::FileSystem& files, bool singlePass)
        : files_(files), singlePass_(singlePass) {}

    // Called at the start of every pass.
    void NextPass();

    struct TTake {
        std::optional<TSourceClaim> Claim;   // the file is ours
        std::optional<std::string> Failure;  // not taken, for this reason
        // Neither: busy (held open by another program, or not quiet long
        // enough), or gone; it stays quietly for a later pass.
    };
    TTake Take(const std::filesystem::path& folder, const platform::ListedFile& file);

    // The file's lines; nullopt when it changed while it was read (it is
    // still being written), after which the claim is released.
    std::optional<platform::LineList> ReadLines(TSourceClaim& claim);

    // Leaves the file where it was delivered, for a later pass. Returns what
    // went wrong on the way, or an empty text.
    std::string Release(TSourceClaim& claim);

    struct TConsumed {
        bool Done = false;                   // deleted, or taken away by its sender
        std::optional<std::string> Failure;  // it stays, for this reason
        // Neither: another program opened it while it was converted; it
        // stays quietly, and a later pass converts it again.
    };
    // Deletes the converted file if it is still the file that was read,
    // unchanged and held by nobody else; otherwise, or when the delete fails,
    // releases it and says why, but quietly where another program opened it.
    TConsumed Consume(TSourceClaim& claim);

  private:
    // nullopt when a file another user owns (no hold possible) has been quiet
    // long enough; otherwise the reason to leave it (empty: quietly).
    std::optional<std::string> NotQuietYet(const std::filesystem::path& path,
                                           const platform::FileIdentity& identity);

    struct TSighting {
        platform::FileIdentity Identity;
        uint64_t FirstPass = 0;  // since when it has been unchanged
        uint64_t LastPass = 0;
    };

    platform::FileSystem& files_;
    const bool singlePass_;
    uint64_t pass_ = 0;
    std::map<std::filesystem::path, TSighting> sightings_;  // files of other users
    std::vector<std::pair<platform::FileIdentity, std::string>> undeletable_;
};
