#pragma once
// Authenticode verification of one file through WinVerifyTrust.
#include <string>

namespace tavrin {

enum class SignatureState {
  kVerified,     // a valid signature chaining to a trusted root
  kNotSigned,    // no signature at all
  kNotVerified,  // a signature that fails: digest, chain, time or usage
  kUnreadable,   // the file could not be opened, or the system has no verifier
};

// Verifies without any window and without fetching revocation data over the
// network: the signature embedded in the file, else, for a file without one,
// the system catalog that lists the file's hash (how most of Windows' own
// files are signed). On kVerified `signer` holds the signing certificate's
// simple display name; otherwise it is empty.
SignatureState verifyFileSignature(const std::string& path, std::string& signer);

}  // namespace tavrin
