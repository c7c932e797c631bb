<!DOCTYPE html>
<html>
<head>
<meta charset="utf-8">
<title>Tovali Explorer - On the Farm</title>
<style>
  body { margin: 0; padding: 8px 6px; background: #f1f8e9; font-family: "DejaVu Sans", Arial, sans-serif; }
  h1 { font-size: 20px; margin: 0 0 10px; color: #33691e; text-align: center; }
  a.site { display: block; margin: 0 0 10px; padding: 10px 6px; border-radius: 12px; color: #fff;
           font-size: 18px; font-weight: bold; text-align: center; text-decoration: none; background: #7cb342; }
  a.site small { display: block; font-size: 12px; font-weight: normal; }
  a.back { display: block; margin: 14px 0 8px; padding: 8px 6px; border: 3px dashed #689f38; border-radius: 12px;
           color: #33691e; font-size: 16px; text-align: center; text-decoration: none; }
</style>
</head>
<body>
<!-- A second menu page, opened in the menu frame itself by an HTTPNAV: link. -->
<!--NAVFRAMEWIDTH=180-->
<!-- Link 005, Farm Sounds: the farm.localhost domain. -->
<!--URL005:AD:farm.localhost:8470-->

<h1>On the Farm</h1>
<a class="site" href="HTTP005://farm.localhost:8470/kids/farm/">Farm Sounds<small>who says moo?</small></a>
<a class="back" href="HTTPNAV://127.0.0.1:8470/tovali/v200/group1/teindex.php3?menu">&larr; Back to the menu</a>
</body>
</html>
