# The outside addresses the report links to, in one place. Only the hosts and the
# site-search engine identifier are choices; paths, query keys and fixed parameters are
# what those sites expect.
set(FENNOCK_KB_ARTICLE_URL "http://support.microsoft.com/?kbid="
    CACHE STRING "Knowledge-base article address, ending in ?kbid=")
set(FENNOCK_WEB_SEARCH_URL "http://www.google.com/search?hl=en&q="
    CACHE STRING "Web search address, ending in the query key")
set(FENNOCK_SEARCH_ENGINE_ID "012345678901234567890%3Aabcdefg-h1j"
    CACHE STRING "Site-search engine identifier, colon percent-encoded")
set(FENNOCK_SOFTWARE_SEARCH_URL
    "http://www.quillet.com/search/search.asp?cx=${FENNOCK_SEARCH_ENGINE_ID}&cof=FORID%3A11&q="
    CACHE STRING "The maker's software-search address, ending in the query key")
set(FENNOCK_SUPPORT_HOST "support.varn.com" CACHE STRING "The maker's support site")
set(FENNOCK_SUPPORT_FORM_URL
    "http://${FENNOCK_SUPPORT_HOST}/support/topics/global.aspx/support/my_systems_info/en/details?c=us&cs=555&l=en&s=biz&~tab=1"
    CACHE STRING "System-details page the support form posts to")
set(FENNOCK_WMI_UTILITY_URL
    "http://www.microsoft.com/downloads/details.aspx?familyid=d7ba3cd6-18d1-4d05-b11e-4c64192ae97d"
    CACHE STRING "WMI Diagnosis Utility download page")
set(FENNOCK_PORTABLE_BASE_URL "http://www.zeph.com/fennock/inventory_files/"
    CACHE STRING "Where a portable report finds its support files")
set(FENNOCK_HELP_URL "http://www.zeph.com/fennock/help.html" CACHE STRING "Help page")
set(FENNOCK_FORUM_URL "http://forum.zeph.com/fennock/" CACHE STRING "Support forum")
