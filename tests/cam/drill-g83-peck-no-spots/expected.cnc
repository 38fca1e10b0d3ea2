
%  
O200  
(Korvel, Version 2.05)  
(Created: Thu Jan 1 00:00:00 2026)  
G54 G90 G98 G21  
T5 M06  
S1667 M03  
G43 H5 M08  
G00 X90.  Y30.   
S1667 M03  
G00 Z25.   
G83 R5.  Z-16.  Q1.68  F99.   
G80  
G28 Z25.   
T2 M06  
S700 M03  
G43 H2 M08  
G00 X30.  Y30.   
S700 M03  
G00 Z25.   
G83 R5.  Z-28.  Q4.  F83.   
G80  
M09  
M30  
%  
