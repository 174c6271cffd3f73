// prototype.js: kept for the pages that load it. The lightbox of Lumenquill sites
// (lightbox.js) needs no library; this file defines nothing.
