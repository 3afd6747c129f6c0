// Simulated workstation: the user and the launcher's process token.
#include "platform/sim/sim_security.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "platform/error_codes.h"
#include "platform/sim/security_blobs.h"

namespace sim {
namespace {

using platform::kErrorInvalidHandle;
constexpr platform::ErrorCode kErrorNoImpersonationToken = 1309;
constexpr platform::ErrorCode kErrorNoSuchLogonSession = 1312;
constexpr std::uint32_t kTokenElevationTypeDefault = 1;
constexpr std::uint32_t kTokenElevationTypeFull = 2;
constexpr std::uint32_t kHighIntegrity = 0x3000;
constexpr std::uint32_t kSeGroupIntegrity = 0x20;
constexpr const char* kAdministrators = "S-1-5-32-544";

}  // namespace

bool SimSecurity::GetUserName(std::string* name) {
  if (s_.Fails("GetUserName")) return false;
  if (s_.machine.user.name.size() >= 256) {
    s_.last_error = platform::kErrorInsufficientBuffer;
    return false;
  }
  *name = s_.machine.user.name;
  return true;
}

SimSecurity::Token SimSecurity::ProcessToken() const {
  const UserFacts& user = s_.machine.user;
  Token token;
  token.sids = s_.token.sids;
  token.elevated = user.elevated;
  token.integrity_rid = user.integrity_rid;
  if (user.administrators_member && !user.token_admin) {
    token.elevation_type = platform::kTokenElevationTypeLimited;
  } else if (user.token_admin && user.elevated) {
    token.elevation_type = kTokenElevationTypeFull;
  } else {
    token.elevation_type = kTokenElevationTypeDefault;
  }
  return token;
}

SimSecurity::Token* SimSecurity::Find(platform::Handle handle) {
  auto found = tokens_.find(handle);
  if (found == tokens_.end()) {
    s_.last_error = kErrorInvalidHandle;
    return nullptr;
  }
  return &found->second;
}

platform::Handle SimSecurity::Add(Token token) {
  const platform::Handle handle = next_token_;
  next_token_ += 4;
  tokens_[handle] = std::move(token);
  return handle;
}

bool SimSecurity::OpenProcessToken(std::uint32_t, platform::Handle* token) {
  if (s_.Fails("OpenProcessToken")) return false;
  if (s_.machine.user.token_query_fails) {
    s_.last_error = platform::kErrorAccessDenied;
    return false;
  }
  *token = Add(ProcessToken());
  return true;
}

bool SimSecurity::GetTokenInformation(platform::Handle handle,
                                      platform::TokenInformationClass information, void* buffer,
                                      std::uint32_t size, std::uint32_t* returned) {
  using Class = platform::TokenInformationClass;
  if (s_.Fails("GetTokenInformation")) return false;
  Token* token = Find(handle);
  if (!token) return false;
  // Elevation and integrity came with Windows Vista.
  if (s_.machine.os.major < 6) {
    s_.last_error = platform::kErrorInvalidParameter;
    return false;
  }
  if (information == Class::LinkedToken &&
      token->elevation_type != platform::kTokenElevationTypeLimited) {
    s_.last_error = kErrorNoSuchLogonSession;
    return false;
  }

  const std::uint32_t rid[] = {token->integrity_rid};
  const std::vector<std::uint8_t> label_sid = SidBytes(16, rid);
  const std::vector<std::uint8_t> user_sid = SidBytesOfText(s_.machine.user.sid);
  std::uint32_t needed = 4;
  if (information == Class::LinkedToken) needed = sizeof(platform::Handle);
  if (information == Class::IntegrityLevel)
    needed = static_cast<std::uint32_t>(sizeof(platform::TokenMandatoryLabel) + label_sid.size());
  if (information == Class::User)
    needed = static_cast<std::uint32_t>(sizeof(platform::TokenUser) + user_sid.size());
  *returned = needed;
  if (buffer == nullptr || size < needed) {
    s_.last_error = platform::kErrorInsufficientBuffer;
    return false;
  }

  auto* bytes = static_cast<std::uint8_t*>(buffer);
  switch (information) {
    case Class::Elevation: {
      const std::uint32_t elevated = token->elevated ? 1 : 0;
      std::memcpy(bytes, &elevated, 4);
      break;
    }
    case Class::ElevationType:
      std::memcpy(bytes, &token->elevation_type, 4);
      break;
    case Class::LinkedToken: {
      // The full token of the same logon, an identification token.
      Token full = *token;
      full.sids.push_back(kAdministrators);
      full.elevated = true;
      full.elevation_type = kTokenElevationTypeFull;
      full.integrity_rid = kHighIntegrity;
      full.impersonation = true;
      const platform::Handle linked = Add(std::move(full));
      std::memcpy(bytes, &linked, sizeof linked);
      break;
    }
    case Class::User: {
      std::uint8_t* sid = bytes + sizeof(platform::TokenUser);
      std::memcpy(sid, user_sid.data(), user_sid.size());
      const platform::TokenUser user{sid, 0};
      std::memcpy(bytes, &user, sizeof user);
      break;
    }
    case Class::IntegrityLevel: {
      std::uint8_t* sid = bytes + sizeof(platform::TokenMandatoryLabel);
      std::memcpy(sid, label_sid.data(), label_sid.size());
      const platform::TokenMandatoryLabel label{sid, kSeGroupIntegrity};
      std::memcpy(bytes, &label, sizeof label);
      break;
    }
  }
  return true;
}

bool SimSecurity::DuplicateToken(platform::Handle handle, std::uint32_t,
                                 platform::Handle* duplicate) {
  if (s_.Fails("DuplicateToken")) return false;
  Token* token = Find(handle);
  if (!token) return false;
  Token copy = *token;
  copy.impersonation = true;
  *duplicate = Add(std::move(copy));
  return true;
}

bool SimSecurity::AllocateAndInitializeSid(platform::SidAuthority authority,
                                           std::span<const std::uint32_t> sub_authorities,
                                           void** sid) {
  if (s_.Fails("AllocateAndInitializeSid")) return false;
  if (sub_authorities.empty() || sub_authorities.size() > 8) {
    s_.last_error = platform::kErrorInvalidParameter;
    return false;
  }
  const std::vector<std::uint8_t> bytes =
      SidBytes(static_cast<std::uint8_t>(authority), sub_authorities);
  *sid = std::malloc(bytes.size());
  if (*sid == nullptr) {
    s_.last_error = platform::kErrorNotEnoughMemory;
    return false;
  }
  std::memcpy(*sid, bytes.data(), bytes.size());
  return true;
}

void SimSecurity::FreeSid(void* sid) { std::free(sid); }

bool SimSecurity::CreateWellKnownSid(platform::WellKnownSid, void* sid, std::uint32_t* size) {
  if (s_.Fails("CreateWellKnownSid")) return false;
  const std::uint32_t subs[] = {32, 544};  // the only one the launcher asks for
  const std::vector<std::uint8_t> bytes = SidBytes(5, subs);
  const auto needed = static_cast<std::uint32_t>(bytes.size());
  if (*size < needed) {
    *size = needed;
    s_.last_error = platform::kErrorInsufficientBuffer;
    return false;
  }
  std::memcpy(sid, bytes.data(), bytes.size());
  *size = needed;
  return true;
}

bool SimSecurity::CheckTokenMembership(platform::Handle handle, const void* sid, bool* member) {
  if (s_.Fails("CheckTokenMembership")) return false;
  Token process;
  const Token* token = nullptr;
  if (handle == platform::kCurrentToken) {
    process = ProcessToken();
    token = &process;
  } else {
    token = Find(handle);
    if (!token) return false;
    if (!token->impersonation) {
      s_.last_error = kErrorNoImpersonationToken;
      return false;
    }
  }
  const std::string text = SidText(sid);
  *member = std::find(token->sids.begin(), token->sids.end(), text) != token->sids.end();
  return true;
}

std::uint32_t* SimSecurity::GetSidSubAuthority(void* sid, std::uint32_t index) {
  return reinterpret_cast<std::uint32_t*>(static_cast<std::uint8_t*>(sid) + 8 + 4 * index);
}

void* SimSecurity::LocalAlloc(std::size_t size) {
  if (s_.Fails("LocalAlloc")) return nullptr;
  void* block = std::calloc(size ? size : 1, 1);
  if (block == nullptr) s_.last_error = platform::kErrorNotEnoughMemory;
  return block;
}

void SimSecurity::LocalFree(void* block) { std::free(block); }

}  // namespace sim
