#include "ui/qt/browsable_volumes.h"

#include <QDir>
#include <QStorageInfo>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

bool IsRemovable(const QString& root) {
    return std::ranges::any_of(
        std::initializer_list<QString>{u"/media/"_s, u"/run/media/"_s, u"/mnt/"_s},
        [&](const QString& place) { return root.startsWith(place); });
}

bool IsNetwork(const QByteArray& type) {
    static const QByteArray kTypes[] = {"nfs",        "nfs4",        "cifs",       "smb3", "smbfs",
                                        "afs",        "ceph",        "glusterfs",  "9p",   "davfs",
                                        "fuse.sshfs", "fuse.davfs2", "fuse.rclone"};
    return std::ranges::find(kTypes, type) != std::end(kTypes);
}

bool Holds(const std::vector<TVolume>& volumes, const QString& root) {
    return std::ranges::any_of(volumes, [&](const TVolume& volume) { return volume.root == root; });
}

QString NameOf(const TMount& mount) {
    if (!mount.label.isEmpty()) {
        return mount.label;
    }
    if (IsNetwork(mount.type) && !mount.device.isEmpty()) {
        return mount.device;
    }
    return mount.root.section(u'/', -1, -1, QString::SectionSkipEmpty);
}

}  // namespace

std::vector<TVolume> BrowsableVolumes(const std::vector<TMount>& mounts, const QString& home) {
    std::vector<TVolume> volumes{{u"/"_s, u"Корневой каталог"_s}};
    if (!home.isEmpty() && home != u"/") {
        volumes.push_back({home, u"Домашний каталог"_s});
    }
    std::vector<TVolume> others;
    for (const TMount& mount : mounts) {
        if (!Holds(volumes, mount.root) && !Holds(others, mount.root) &&
            (IsRemovable(mount.root) || IsNetwork(mount.type))) {
            others.push_back({mount.root, NameOf(mount)});
        }
    }
    std::ranges::sort(others, {}, &TVolume::root);
    volumes.insert(volumes.end(), others.begin(), others.end());
    return volumes;
}

std::vector<TVolume> BrowsableVolumes() {
    std::vector<TMount> mounts;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (volume.isValid() && volume.isReady()) {
            mounts.push_back({volume.rootPath(), volume.fileSystemType(),
                              QString::fromLocal8Bit(volume.device()), volume.name()});
        }
    }
    return BrowsableVolumes(mounts, QDir::homePath());
}
