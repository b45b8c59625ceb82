// Orv::Auto: the owning holder that deletes what it holds when reset or when
// it goes out of scope.
#pragma once

#include <memory>

namespace Orv {

template <class T>
using Auto = std::unique_ptr<T>;

}  // namespace Orv
