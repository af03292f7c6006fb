#include "signature.h"

#include <windows.h>
#include <softpub.h>
#include <wincrypt.h>
#include <mscat.h>
#include <wintrust.h>

#include <type_traits>
#include <vector>

#include "handles.h"
#include "paths.h"

namespace tavrin {
namespace {

using AcquireContext2 = BOOL(WINAPI*)(HCATADMIN*, const GUID*, PCWSTR, PCCERT_STRONG_SIGN_PARA, DWORD);
using CalcHash2 = BOOL(WINAPI*)(HCATADMIN, HANDLE, DWORD*, BYTE*, DWORD);

// The verifier's libraries are looked up when first needed, not imported: a
// Windows 95 or NT 4 without them still starts both programs and simply has
// no verdicts. The two SHA-256 catalog functions exist from Windows 8 on.
struct TrustApi {
  decltype(&::WinVerifyTrust) WinVerifyTrust = nullptr;
  decltype(&::WTHelperProvDataFromStateData) WTHelperProvDataFromStateData = nullptr;
  decltype(&::WTHelperGetProvSignerFromChain) WTHelperGetProvSignerFromChain = nullptr;
  decltype(&::CryptCATAdminAcquireContext) CryptCATAdminAcquireContext = nullptr;
  decltype(&::CryptCATAdminCalcHashFromFileHandle) CryptCATAdminCalcHashFromFileHandle = nullptr;
  decltype(&::CryptCATAdminEnumCatalogFromHash) CryptCATAdminEnumCatalogFromHash = nullptr;
  decltype(&::CryptCATCatalogInfoFromContext) CryptCATCatalogInfoFromContext = nullptr;
  decltype(&::CryptCATAdminReleaseCatalogContext) CryptCATAdminReleaseCatalogContext = nullptr;
  decltype(&::CryptCATAdminReleaseContext) CryptCATAdminReleaseContext = nullptr;
  decltype(&::CertGetEnhancedKeyUsage) CertGetEnhancedKeyUsage = nullptr;
  decltype(&::CertGetNameStringA) CertGetNameStringA = nullptr;
  AcquireContext2 CryptCATAdminAcquireContext2 = nullptr;
  CalcHash2 CryptCATAdminCalcHashFromFileHandle2 = nullptr;
  bool complete = false;
};

const TrustApi& trustApi() {
  static const TrustApi api = [] {
    TrustApi a;
    HMODULE wintrust = loadSystemLibrary("wintrust.dll");
    HMODULE crypt32 = loadSystemLibrary("crypt32.dll");
    if (!wintrust || !crypt32) return a;
    const auto bind = [](HMODULE module, auto& function, const char* name) {
      function = reinterpret_cast<std::remove_reference_t<decltype(function)>>(
          reinterpret_cast<void*>(GetProcAddress(module, name)));
      return function != nullptr;
    };
    a.complete = bind(wintrust, a.WinVerifyTrust, "WinVerifyTrust") &&
                 bind(wintrust, a.WTHelperProvDataFromStateData, "WTHelperProvDataFromStateData") &&
                 bind(wintrust, a.WTHelperGetProvSignerFromChain, "WTHelperGetProvSignerFromChain") &&
                 bind(wintrust, a.CryptCATAdminAcquireContext, "CryptCATAdminAcquireContext") &&
                 bind(wintrust, a.CryptCATAdminCalcHashFromFileHandle, "CryptCATAdminCalcHashFromFileHandle") &&
                 bind(wintrust, a.CryptCATAdminEnumCatalogFromHash, "CryptCATAdminEnumCatalogFromHash") &&
                 bind(wintrust, a.CryptCATCatalogInfoFromContext, "CryptCATCatalogInfoFromContext") &&
                 bind(wintrust, a.CryptCATAdminReleaseCatalogContext, "CryptCATAdminReleaseCatalogContext") &&
                 bind(wintrust, a.CryptCATAdminReleaseContext, "CryptCATAdminReleaseContext") &&
                 bind(crypt32, a.CertGetEnhancedKeyUsage, "CertGetEnhancedKeyUsage") &&
                 bind(crypt32, a.CertGetNameStringA, "CertGetNameStringA");
    bind(wintrust, a.CryptCATAdminAcquireContext2, "CryptCATAdminAcquireContext2");
    bind(wintrust, a.CryptCATAdminCalcHashFromFileHandle2, "CryptCATAdminCalcHashFromFileHandle2");
    return a;
  }();
  return api;
}

std::wstring widened(const std::string& text) {
  const int length = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
  if (length <= 0) return std::wstring();
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, &wide[0], length);
  wide.resize(static_cast<size_t>(length - 1));
  return wide;
}

PCCERT_CONTEXT signingCertificate(HANDLE stateData) {
  CRYPT_PROVIDER_DATA* provider = trustApi().WTHelperProvDataFromStateData(stateData);
  if (!provider) return nullptr;
  CRYPT_PROVIDER_SGNR* signer = trustApi().WTHelperGetProvSignerFromChain(provider, 0, FALSE, 0);
  if (!signer || signer->csCertChain == 0 || !signer->pasCertChain) return nullptr;
  return signer->pasCertChain[0].pCert;
}

// Windows refuses a certificate whose extended usage leaves out code signing;
// Wine does not, so the rule is applied here as well. No usage extension at
// all means every usage.
bool allowsCodeSigning(PCCERT_CONTEXT certificate) {
  DWORD size = 0;
  const auto usageOf = trustApi().CertGetEnhancedKeyUsage;
  if (!usageOf(certificate, 0, nullptr, &size) || size < sizeof(CERT_ENHKEY_USAGE)) return false;
  std::vector<BYTE> buffer(size);
  auto* usage = reinterpret_cast<CERT_ENHKEY_USAGE*>(buffer.data());
  if (!usageOf(certificate, 0, usage, &size)) return false;
  if (usage->cUsageIdentifier == 0) return GetLastError() == static_cast<DWORD>(CRYPT_E_NOT_FOUND);
  for (DWORD i = 0; i < usage->cUsageIdentifier; ++i)
    if (lstrcmpA(usage->rgpszUsageIdentifier[i], szOID_PKIX_KP_CODE_SIGNING) == 0) return true;
  return false;
}

std::string signerNameOf(PCCERT_CONTEXT certificate) {
  const auto nameOf = trustApi().CertGetNameStringA;
  const DWORD size = nameOf(certificate, CERT_NAME_SIMPLE_DISPLAY_TYPE, 0, nullptr, nullptr, 0);
  if (size <= 1) return std::string();
  std::vector<char> name(size);
  nameOf(certificate, CERT_NAME_SIMPLE_DISPLAY_TYPE, 0, nullptr, name.data(), size);
  return std::string(name.data(), strnlen(name.data(), size));
}

SignatureState stateOf(LONG status) {
  switch (static_cast<HRESULT>(status)) {
    case ERROR_SUCCESS: return SignatureState::kVerified;
    case TRUST_E_NOSIGNATURE:
    case TRUST_E_SUBJECT_FORM_UNKNOWN:
    case TRUST_E_PROVIDER_UNKNOWN: return SignatureState::kNotSigned;
    default: return SignatureState::kNotVerified;
  }
}

// One WinVerifyTrust call for `data` (its subject already chosen): no UI, no
// revocation look-up, nothing fetched over the network.
SignatureState verifyTrust(WINTRUST_DATA& data, std::string& signer) {
  data.cbStruct = sizeof data;
  data.dwUIChoice = WTD_UI_NONE;
  data.fdwRevocationChecks = WTD_REVOKE_NONE;
  data.dwStateAction = WTD_STATEACTION_VERIFY;
  data.dwProvFlags = WTD_CACHE_ONLY_URL_RETRIEVAL;
  GUID action = WINTRUST_ACTION_GENERIC_VERIFY_V2;
  SignatureState state = stateOf(trustApi().WinVerifyTrust(static_cast<HWND>(INVALID_HANDLE_VALUE), &action, &data));
  if (state == SignatureState::kVerified) {
    PCCERT_CONTEXT certificate = signingCertificate(data.hWVTStateData);
    if (certificate && allowsCodeSigning(certificate))
      signer = signerNameOf(certificate);
    else
      state = SignatureState::kNotVerified;
  }
  data.dwStateAction = WTD_STATEACTION_CLOSE;
  trustApi().WinVerifyTrust(static_cast<HWND>(INVALID_HANDLE_VALUE), &action, &data);
  return state;
}

// The file's hash as the catalogs of `admin` hold it; empty when it cannot be
// computed. SHA-256 catalogs (Windows 8 on) need the second functions.
std::vector<BYTE> catalogHash(HCATADMIN admin, HANDLE file, CalcHash2 calcHash2) {
  for (int attempt = 0; attempt < 2; ++attempt) {
    SetFilePointer(file, 0, nullptr, FILE_BEGIN);
    DWORD size = 0;
    const BOOL sized = calcHash2 ? calcHash2(admin, file, &size, nullptr, 0)
                                 : trustApi().CryptCATAdminCalcHashFromFileHandle(file, &size, nullptr, 0);
    if (!sized && GetLastError() != ERROR_INSUFFICIENT_BUFFER) return {};
    if (size == 0) return {};
    std::vector<BYTE> hash(size);
    SetFilePointer(file, 0, nullptr, FILE_BEGIN);
    if (calcHash2 ? calcHash2(admin, file, &size, hash.data(), 0)
                  : trustApi().CryptCATAdminCalcHashFromFileHandle(file, &size, hash.data(), 0)) {
      hash.resize(size);
      return hash;
    }
  }
  return {};
}

// Most of Windows' own files are signed in a system catalog, not in
// themselves: looks the file's hash up there, SHA-256 catalogs first.
SignatureState verifyByCatalog(HANDLE file, const std::wstring& path, std::string& signer) {
  const TrustApi& api = trustApi();
  const AcquireContext2 acquire2 = api.CryptCATAdminAcquireContext2;
  const CalcHash2 calcHash2 = api.CryptCATAdminCalcHashFromFileHandle2;
  for (const bool sha256 : {true, false}) {
    if (sha256 && !(acquire2 && calcHash2)) continue;
    HCATADMIN admin = nullptr;
    const BOOL acquired = sha256 ? acquire2(&admin, nullptr, L"SHA256", nullptr, 0)
                                 : trustApi().CryptCATAdminAcquireContext(&admin, nullptr, 0);
    if (!acquired) continue;
    std::vector<BYTE> hash = catalogHash(admin, file, sha256 ? calcHash2 : nullptr);
    HCATINFO catalog = hash.empty() ? nullptr
                                    : trustApi().CryptCATAdminEnumCatalogFromHash(admin, hash.data(),
                                                                       static_cast<DWORD>(hash.size()), 0, nullptr);
    SignatureState state = SignatureState::kNotSigned;
    CATALOG_INFO info{};
    info.cbStruct = sizeof info;
    if (catalog && trustApi().CryptCATCatalogInfoFromContext(catalog, &info, 0)) {
      std::wstring tag;
      static const wchar_t kHex[] = L"0123456789ABCDEF";
      for (BYTE b : hash) tag += std::wstring{kHex[b >> 4], kHex[b & 15]};
      WINTRUST_CATALOG_INFO member{};
      member.cbStruct = sizeof member;
      member.pcwszCatalogFilePath = info.wszCatalogFile;
      member.pcwszMemberTag = tag.c_str();
      member.pcwszMemberFilePath = path.c_str();
      member.hMemberFile = file;
      member.pbCalculatedFileHash = hash.data();
      member.cbCalculatedFileHash = static_cast<DWORD>(hash.size());
      WINTRUST_DATA data{};
      data.dwUnionChoice = WTD_CHOICE_CATALOG;
      data.pCatalog = &member;
      state = verifyTrust(data, signer);
    }
    if (catalog) trustApi().CryptCATAdminReleaseCatalogContext(admin, catalog, 0);
    trustApi().CryptCATAdminReleaseContext(admin, 0);
    if (catalog) return state;
  }
  return SignatureState::kNotSigned;
}

}  // namespace

SignatureState verifyFileSignature(const std::string& path, std::string& signer) {
  signer.clear();
  // WinVerifyTrust answers a missing file with an error like any failed
  // signature; say "cannot read" apart from "does not verify".
  UniqueFile file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, 0, nullptr));
  if (!file || !trustApi().complete) return SignatureState::kUnreadable;
  const std::wstring widePath = widened(path);
  if (widePath.empty()) return SignatureState::kUnreadable;

  WINTRUST_FILE_INFO fileInfo{};
  fileInfo.cbStruct = sizeof fileInfo;
  fileInfo.pcwszFilePath = widePath.c_str();
  WINTRUST_DATA data{};
  data.dwUnionChoice = WTD_CHOICE_FILE;
  data.pFile = &fileInfo;
  const SignatureState state = verifyTrust(data, signer);
  return state == SignatureState::kNotSigned ? verifyByCatalog(file.get(), widePath, signer) : state;
}

}  // namespace tavrin
