// Product texts shared by the banner and the version resource.
#ifndef KESTRIN_VERSION_H_
#define KESTRIN_VERSION_H_

#define KESTRIN_COPYRIGHT "Copyright (C) 2006 Vaskori. All rights reserved."

#endif  // KESTRIN_VERSION_H_
