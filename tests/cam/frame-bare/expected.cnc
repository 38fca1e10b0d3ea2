
%  
O1000 (4711-03)  
(Korvel, Version 2.05)  
(Created: Thu Jan 1 00:00:00 2026)  
G54 G90 G98 G21  
M09  
M30  
%  
