#include "engine/source_boundary.h"

#include <algorithm>
#include <chrono>
#include <system_error>

#include "platform/files/text_file.h"

namespace {

// How long a file another user owns must stay unchanged before it is taken:
// a whole countdown between passes.
constexpr std::chrono::seconds kQuietTime{61};

bool SameFile(const platform::FileIdentity& a, const platform::FileIdentity& b) {
    return a.Device == b.Device && a.File == b.File;
}

}  // namespace

void TSourceBoundary::NextPass() {
    ++pass_;
    std::erase_if(sightings_, [&](const auto& entry) { return entry.second.LastPass + 1 < pass_; });
}

std::optional<std::string> TSourceBoundary::NotQuietYet(const std::filesystem::path& path,
                                                        const platform::FileIdentity& identity) {
    if (singlePass_) {
        using namespace std::chrono;
        const auto now = duration_cast<nanoseconds>(system_clock::now().time_since_epoch());
        const nanoseconds modified(identity.ModifiedNs);
        if (modified > now) {
            return "its modification time lies in the future; a single pass takes a file of "
                   "another user only once that time is 61 seconds past";
        }
        return now - modified >= kQuietTime ? std::nullopt : std::optional<std::string>("");
    }
    auto [entry, added] = sightings_.try_emplace(path, TSighting{identity, pass_, pass_});
    TSighting& sighting = entry->second;
    sighting.LastPass = pass_;
    if (!added && sighting.Identity == identity && sighting.FirstPass < pass_) {
        sightings_.erase(entry);
        return std::nullopt;  // unchanged through a whole countdown
    }
    if (sighting.Identity != identity) {
        sighting = {identity, pass_, pass_};
    }
    return "";
}

TSourceBoundary::TTake TSourceBoundary::Take(const std::filesystem::path& folder,
                                             const platform::ListedFile& file) {
    if (!file.NameFits) {
        return {std::nullopt, "the name '" + file.Entry.string() +
                                  "' holds characters that Windows-1251 cannot write; the file "
                                  "is left alone until it is renamed"};
    }
    const std::filesystem::path path = folder / file.Entry;
    platform::SourceOpening opening = files_.OpenSource(path);
    switch (opening.Refusal) {
        case platform::SourceRefusal::None:
            break;
        case platform::SourceRefusal::Busy:
        case platform::SourceRefusal::Missing:
            return {};
        case platform::SourceRefusal::NotRegular:
            return {std::nullopt,
                    "is no longer a regular file (a link or a pipe was put in its "
                    "place); it is left alone"};
        case platform::SourceRefusal::Unreadable:
            return {std::nullopt, opening.Reason};
    }
    const platform::FileIdentity identity = opening.File->Identity();
    const auto undeletable =
        std::find_if(undeletable_.begin(), undeletable_.end(),
                     [&](const auto& entry) { return entry.first == identity; });
    if (undeletable != undeletable_.end()) {
        return {std::nullopt, "was converted, but cannot be deleted (" + undeletable->second +
                                  "); it is not converted again while it stays unchanged"};
    }
    if (opening.HoldRefused) {
        if (auto reason = NotQuietYet(path, identity)) {
            return reason->empty() ? TTake{} : TTake{std::nullopt, std::move(*reason)};
        }
    }
    TSourceClaim claim{path, path, std::move(opening.File), identity, !opening.HoldRefused};
    if (file.Claimed) {
        claim.Original = folder / file.Entry.native().substr(platform::kClaimPrefix.size());
    }
    return {std::move(claim), std::nullopt};
}

std::optional<platform::LineList> TSourceBoundary::ReadLines(TSourceClaim& claim) {
    auto lines = platform::ReadTextLines(*claim.File);
    if (claim.File->Identity() != claim.Identity) {
        Release(claim);
        return std::nullopt;
    }
    return lines;
}

std::string TSourceBoundary::Release(TSourceClaim& claim) {
    std::string trouble;
    if (claim.Current != claim.Original) {
        try {
            if (files_.Rename(claim.Current, claim.Original)) {
                claim.Current = claim.Original;
            }
            // else: a newer delivery has the name; the claimed file waits for the next pass
        } catch (const std::exception& error) {
            trouble = std::string("; ") + error.what();
        }
    }
    claim.File.reset();
    return trouble;
}

TSourceBoundary::TConsumed TSourceBoundary::Consume(TSourceClaim& claim) {
    if (claim.Current == claim.Original) {
        // Moved aside first, so that what is checked is what is deleted: a
        // delivery renamed over the name from now on is never touched, one
        // that came before is put back, and nobody opens the file by its name
        // any more.
        std::filesystem::path workName(platform::kClaimPrefix);
        workName += claim.Original.filename();
        const std::filesystem::path work = claim.Original.parent_path() / workName;
        try {
            if (files_.Rename(claim.Original, work)) {
                claim.Current = work;
            }
        } catch (const std::system_error&) {
            // No rename here (a folder we may not change, a name too long):
            // the checks below guard the file on its own name.
        }
    }
    const auto status = files_.Status(claim.Current);
    if (!status || !SameFile(status->Identity, claim.Identity)) {
        // Another file now has the name: a newer delivery, which is left for
        // the next pass; the one converted was taken away by its sender.
        const std::string trouble = Release(claim);
        if (trouble.empty()) {
            return {true, std::nullopt};
        }
        return {false, "a newer delivery of the name could not be put back" + trouble};
    }
    if (claim.Wanted()) {
        // It waits for us to let go: it must find the file, not a deleted
        // one. The table stands until a later pass replaces it.
        const std::string trouble = Release(claim);
        if (trouble.empty()) {
            return {};
        }
        return {false,
                "another program opened the source while it was converted, and it could "
                "not be put back under its name" +
                    trouble};
    }
    if (status->Identity != claim.Identity) {
        return {false,
                "the source changed while it was converted; it stays and is converted again" +
                    Release(claim)};
    }
    try {
        files_.Remove(claim.Current);
    } catch (const std::exception& error) {
        undeletable_.emplace_back(claim.Identity, error.what());
        return {false,
                std::string("the source cannot be deleted: ") + error.what() + Release(claim)};
    }
    claim.File.reset();  // our hold ends only once the name is gone
    return {true, std::nullopt};
}
