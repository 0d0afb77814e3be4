// Resource ids of the toolkit's own resources (XTPResources.rc). The toolkit
// keeps to ids 9000 to 9999 so they never meet the application's.
#pragma once

// Registry section and entry names the list controls keep column widths under.
#define XT_IDS_REG_SETTINGS 9021
#define XT_IDS_REG_COLINFO 9023
