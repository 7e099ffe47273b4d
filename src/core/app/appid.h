#pragma once
// The program's application id: the name of its desktop entry, icon and AppStream file once it
// is installed. packaging/CMakeLists.txt installs the files under the same name.
namespace plimb {

inline constexpr char kAppId[] = "org.plimb.Plimb";

} // namespace plimb
