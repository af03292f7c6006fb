#include "signature.h"

#include <windows.h>
#include <softpub.h>
#include <wincrypt.h>
#include <wintrust.h>

#include <vector>

namespace tavrin {
namespace {

std::wstring widened(const std::string& text) {
  const int length = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
  if (length <= 0) return std::wstring();
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, &wide[0], length);
  wide.resize(static_cast<size_t>(length - 1));
  return wide;
}

PCCERT_CONTEXT signingCertificate(HANDLE stateData) {
  CRYPT_PROVIDER_DATA* provider = WTHelperProvDataFromStateData(stateData);
  if (!provider) return nullptr;
  CRYPT_PROVIDER_SGNR* signer = WTHelperGetProvSignerFromChain(provider, 0, FALSE, 0);
  if (!signer || signer->csCertChain == 0 || !signer->pasCertChain) return nullptr;
  return signer->pasCertChain[0].pCert;
}

// Windows refuses a certificate whose extended usage leaves out code signing;
// Wine does not, so the rule is applied here as well. No usage extension at
// all means every usage.
bool allowsCodeSigning(PCCERT_CONTEXT certificate) {
  DWORD size = 0;
  if (!CertGetEnhancedKeyUsage(certificate, 0, nullptr, &size) || size < sizeof(CERT_ENHKEY_USAGE)) return false;
  std::vector<BYTE> buffer(size);
  auto* usage = reinterpret_cast<CERT_ENHKEY_USAGE*>(buffer.data());
  if (!CertGetEnhancedKeyUsage(certificate, 0, usage, &size)) return false;
  if (usage->cUsageIdentifier == 0) return GetLastError() == static_cast<DWORD>(CRYPT_E_NOT_FOUND);
  for (DWORD i = 0; i < usage->cUsageIdentifier; ++i)
    if (lstrcmpA(usage->rgpszUsageIdentifier[i], szOID_PKIX_KP_CODE_SIGNING) == 0) return true;
  return false;
}

std::string signerNameOf(PCCERT_CONTEXT certificate) {
  const DWORD size = CertGetNameStringA(certificate, CERT_NAME_SIMPLE_DISPLAY_TYPE, 0, nullptr, nullptr, 0);
  if (size <= 1) return std::string();
  std::vector<char> name(size);
  CertGetNameStringA(certificate, CERT_NAME_SIMPLE_DISPLAY_TYPE, 0, nullptr, name.data(), size);
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

}  // namespace

SignatureState verifyFileSignature(const std::string& path, std::string& signer) {
  signer.clear();
  {
    // WinVerifyTrust answers a missing file with an error like any failed
    // signature; say "cannot read" apart from "does not verify".
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return SignatureState::kUnreadable;
    CloseHandle(file);
  }
  const std::wstring widePath = widened(path);
  if (widePath.empty()) return SignatureState::kUnreadable;

  WINTRUST_FILE_INFO fileInfo{};
  fileInfo.cbStruct = sizeof fileInfo;
  fileInfo.pcwszFilePath = widePath.c_str();
  WINTRUST_DATA data{};
  data.cbStruct = sizeof data;
  data.dwUIChoice = WTD_UI_NONE;
  data.fdwRevocationChecks = WTD_REVOKE_NONE;
  data.dwUnionChoice = WTD_CHOICE_FILE;
  data.pFile = &fileInfo;
  data.dwStateAction = WTD_STATEACTION_VERIFY;
  data.dwProvFlags = WTD_CACHE_ONLY_URL_RETRIEVAL;
  GUID action = WINTRUST_ACTION_GENERIC_VERIFY_V2;

  const LONG status = WinVerifyTrust(static_cast<HWND>(INVALID_HANDLE_VALUE), &action, &data);
  SignatureState state = stateOf(status);
  if (state == SignatureState::kVerified) {
    PCCERT_CONTEXT certificate = signingCertificate(data.hWVTStateData);
    if (certificate && allowsCodeSigning(certificate))
      signer = signerNameOf(certificate);
    else
      state = SignatureState::kNotVerified;
  }

  data.dwStateAction = WTD_STATEACTION_CLOSE;
  WinVerifyTrust(static_cast<HWND>(INVALID_HANDLE_VALUE), &action, &data);
  return state;
}

}  // namespace tavrin
