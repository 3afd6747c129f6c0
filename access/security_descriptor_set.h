// The one security descriptor the launcher counts as unrestricted: full control for
// Everyone and for Administrators, inherited by everything below, owned by
// Administrators.
#pragma once

#include <array>

#include "platform/security.h"

struct Launcher;

struct SecurityDescriptorSet {
  void* EveryoneSid = nullptr;
  void* AdministratorsSid = nullptr;
  void* Acl = nullptr;
  void* pSD = nullptr;
  std::array<platform::ExplicitAccess, 2> ExplicitAccess{};
};

// Fills the set; on failure everything is released and false returned.
bool CreateSecurityDescriptorSet(Launcher& l, SecurityDescriptorSet& set);

// Releases what the set holds, in the order it was built, and clears it.
void ReleaseSecurityDescriptorSet(Launcher& l, SecurityDescriptorSet& set);

// A set released when it goes out of scope.
class ScopedSecurityDescriptorSet {
 public:
  explicit ScopedSecurityDescriptorSet(Launcher& l) : l_(l) {}
  ~ScopedSecurityDescriptorSet() { ReleaseSecurityDescriptorSet(l_, set_); }
  ScopedSecurityDescriptorSet(const ScopedSecurityDescriptorSet&) = delete;
  ScopedSecurityDescriptorSet& operator=(const ScopedSecurityDescriptorSet&) = delete;
  bool Create() { return CreateSecurityDescriptorSet(l_, set_); }
  SecurityDescriptorSet& get() { return set_; }

 private:
  Launcher& l_;
  SecurityDescriptorSet set_;
};
