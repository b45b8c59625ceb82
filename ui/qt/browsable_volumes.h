// What the directory dialog offers as "Диски": the mounted volumes an
// operator browses for update folders, each with its name.
#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

// A mounted volume as the system lists it.
struct TMount {
    QString root;     // where it is mounted
    QByteArray type;  // its file system, such as "ext4" or "cifs"
    QString device;   // such as "/dev/sdb1" or "//server/share"
    QString label;    // the volume's own name; may be empty
};

struct TVolume {
    QString root;
    QString name;
};

// The root first, then the home folder, then the removable volumes (mounted
// under /media, /run/media or /mnt) and the network mounts, in the order of
// their paths; each root once. Their names: the label, else for a network
// mount its share, else the last part of the path; the root and the home
// folder are named as such.
std::vector<TVolume> BrowsableVolumes(const std::vector<TMount>& mounts, const QString& home);

// The same of the volumes mounted now and the user's home folder.
std::vector<TVolume> BrowsableVolumes();
