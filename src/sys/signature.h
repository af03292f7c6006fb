#pragma once
// Authenticode verification of one file through WinVerifyTrust.
#include <string>

namespace tavrin {

enum class SignatureState {
  kVerified,     // a valid signature chaining to a trusted root
  kNotSigned,    // no signature at all
  kNotVerified,  // a signature that fails: digest, chain, time or usage
  kUnreadable,   // the file could not be opened
};

// Verifies without any window and without fetching revocation data over the
// network. On kVerified `signer` holds the signing certificate's simple
// display name; otherwise it is empty.
SignatureState verifyFileSignature(const std::string& path, std::string& signer);

}  // namespace tavrin
