#pragma once

class QWidget;
struct HostKey;

// Asks the user, in an alert of the window, whether to trust a server's
// host key met for the first time: the server, its port, the key's type and
// fingerprint as ssh shows them. "Trust" answers yes; "Cancel" (and Escape) no.
bool askToTrustHostKey(QWidget* window, const HostKey& key);
