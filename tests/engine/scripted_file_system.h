// The real file system with a hook before every step, through which a test
// makes any single step fail or changes the folder at that very moment.
#pragma once

#include <cerrno>
#include <filesystem>
#include <functional>
#include <memory>
#include <system_error>

#include "platform/files/file_system.h"

enum class FsStep {
    List,
    OpenSource,
    ReadSource,
    AskHold,  // whether the hold on a source is unbroken (SourceFile::HeldAlone)
    CreateNew,
    OpenExisting,
    Write,
    Flush,
    Close,
    Status,
    Rename,
    Remove,
    FlushFolder,
};

class ScriptedFileSystem : public platform::FileSystem {
  public:
    // Called before each step with the path it works on (for Rename, the
    // path renamed); it may throw to make the step fail.
    std::function<void(FsStep, const std::filesystem::path&)> Before;
    // Applied to every opening of a source (for example to take away the hold).
    std::function<void(platform::SourceOpening&)> AfterOpenSource;
    // Called with the path of a source once its descriptor is closed.
    std::function<void(const std::filesystem::path&)> AfterCloseSource;

    // The failure a full disk, a refused delete... gives.
    [[noreturn]] static void Fail(int error, const std::filesystem::path& path) {
        throw std::system_error(error, std::generic_category(), "scripted '" + path.string() + "'");
    }

    std::vector<std::filesystem::path> ListFiles(const std::filesystem::path& folder) override {
        Step(FsStep::List, folder);
        return real_.ListFiles(folder);
    }

    platform::SourceOpening OpenSource(const std::filesystem::path& file) override {
        Step(FsStep::OpenSource, file);
        platform::SourceOpening opening = real_.OpenSource(file);
        if (opening.File) {
            opening.File = std::make_unique<Source>(*this, std::move(opening.File), file);
        }
        if (AfterOpenSource) {
            AfterOpenSource(opening);
        }
        return opening;
    }

    std::unique_ptr<platform::WritableFile> CreateNew(const std::filesystem::path& file) override {
        Step(FsStep::CreateNew, file);
        return std::make_unique<Writable>(*this, real_.CreateNew(file), file);
    }

    std::unique_ptr<platform::WritableFile> OpenExisting(
        const std::filesystem::path& file) override {
        Step(FsStep::OpenExisting, file);
        return std::make_unique<Writable>(*this, real_.OpenExisting(file), file);
    }

    std::optional<platform::EntryStatus> Status(const std::filesystem::path& path) override {
        Step(FsStep::Status, path);
        return real_.Status(path);
    }

    bool IsFolder(const std::filesystem::path& path) override { return real_.IsFolder(path); }

    bool Rename(const std::filesystem::path& from, const std::filesystem::path& to) override {
        Step(FsStep::Rename, from);
        return real_.Rename(from, to);
    }

    void Remove(const std::filesystem::path& file) override {
        Step(FsStep::Remove, file);
        real_.Remove(file);
    }

    void FlushFolder(const std::filesystem::path& folder) override {
        Step(FsStep::FlushFolder, folder);
        real_.FlushFolder(folder);
    }

  private:
    void Step(FsStep step, const std::filesystem::path& path) {
        if (Before) {
            Before(step, path);
        }
    }

    class Source : public platform::SourceFile {
      public:
        Source(ScriptedFileSystem& owner, std::unique_ptr<platform::SourceFile> real,
               std::filesystem::path path)
            : owner_(owner), real_(std::move(real)), path_(std::move(path)) {}
        ~Source() override {
            real_.reset();
            if (owner_.AfterCloseSource) {
                owner_.AfterCloseSource(path_);
            }
        }
        Source(const Source&) = delete;
        Source& operator=(const Source&) = delete;
        platform::FileIdentity Identity() override { return real_->Identity(); }
        size_t Read(char* buffer, size_t capacity) override {
            owner_.Step(FsStep::ReadSource, path_);
            return real_->Read(buffer, capacity);
        }
        bool HeldAlone() override {
            owner_.Step(FsStep::AskHold, path_);
            return real_->HeldAlone();
        }

      private:
        ScriptedFileSystem& owner_;
        std::unique_ptr<platform::SourceFile> real_;
        std::filesystem::path path_;
    };

    class Writable : public platform::WritableFile {
      public:
        Writable(ScriptedFileSystem& owner, std::unique_ptr<platform::WritableFile> real,
                 std::filesystem::path path)
            : owner_(owner), real_(std::move(real)), path_(std::move(path)) {}
        void WriteAt(std::string_view bytes, uint64_t offset) override {
            owner_.Step(FsStep::Write, path_);
            real_->WriteAt(bytes, offset);
        }
        std::string ReadAt(size_t length, uint64_t offset) override {
            return real_->ReadAt(length, offset);
        }
        uint64_t Size() override { return real_->Size(); }
        void Truncate(uint64_t size) override { real_->Truncate(size); }
        void Flush() override {
            owner_.Step(FsStep::Flush, path_);
            real_->Flush();
        }
        void Close() override {
            owner_.Step(FsStep::Close, path_);
            real_->Close();
        }

      private:
        ScriptedFileSystem& owner_;
        std::unique_ptr<platform::WritableFile> real_;
        std::filesystem::path path_;
    };

    platform::FileSystem& real_ = platform::SystemFileSystem();
};
